/* A control plugin for the tests: one "Master Playback Volume" of two channels with the
 * range of its configuration ("min", "max"), that appends every value written to the
 * file named by "log", one line each. */
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    snd_ctl_ext_t ext;
    long min;
    long max;
    long value[2];
    char *log;
} test_ctl_t;

static const char master[] = "Master Playback Volume";

static int elem_count(snd_ctl_ext_t *ext)
{
    (void)ext;
    return 1;
}

static int elem_list(snd_ctl_ext_t *ext, unsigned int offset, snd_ctl_elem_id_t *id)
{
    (void)ext;
    (void)offset;
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, master);
    return 0;
}

static snd_ctl_ext_key_t find_elem(snd_ctl_ext_t *ext, const snd_ctl_elem_id_t *id)
{
    (void)ext;
    return strcmp(snd_ctl_elem_id_get_name(id), master) == 0 ? 0 : SND_CTL_EXT_KEY_NOT_FOUND;
}

static int get_attribute(snd_ctl_ext_t *ext, snd_ctl_ext_key_t key, int *type, unsigned int *acc,
                         unsigned int *count)
{
    (void)ext;
    (void)key;
    *type = SND_CTL_ELEM_TYPE_INTEGER;
    *acc = SND_CTL_EXT_ACCESS_READWRITE;
    *count = 2;
    return 0;
}

static int get_integer_info(snd_ctl_ext_t *ext, snd_ctl_ext_key_t key, long *imin, long *imax, long *istep)
{
    test_ctl_t *ctl = ext->private_data;
    (void)key;
    *imin = ctl->min;
    *imax = ctl->max;
    *istep = 0;
    return 0;
}

static int read_integer(snd_ctl_ext_t *ext, snd_ctl_ext_key_t key, long *value)
{
    test_ctl_t *ctl = ext->private_data;
    (void)key;
    value[0] = ctl->value[0];
    value[1] = ctl->value[1];
    return 0;
}

static int write_integer(snd_ctl_ext_t *ext, snd_ctl_ext_key_t key, long *value)
{
    test_ctl_t *ctl = ext->private_data;
    (void)key;
    if (ctl->log) {
        FILE *f = fopen(ctl->log, "a");
        if (f) {
            fprintf(f, "%ld %ld\n", value[0], value[1]);
            fclose(f);
        }
    }
    const int changed = value[0] != ctl->value[0] || value[1] != ctl->value[1];
    ctl->value[0] = value[0];
    ctl->value[1] = value[1];
    return changed;
}

static int read_event(snd_ctl_ext_t *ext, snd_ctl_elem_id_t *id, unsigned int *event_mask)
{
    (void)ext;
    (void)id;
    (void)event_mask;
    return -EAGAIN;
}

static void close_ctl(snd_ctl_ext_t *ext)
{
    test_ctl_t *ctl = ext->private_data;
    free(ctl->log);
    free(ctl);
}

static const snd_ctl_ext_callback_t callbacks = {
    .close = close_ctl,
    .elem_count = elem_count,
    .elem_list = elem_list,
    .find_elem = find_elem,
    .get_attribute = get_attribute,
    .get_integer_info = get_integer_info,
    .read_integer = read_integer,
    .write_integer = write_integer,
    .read_event = read_event,
};

SND_CTL_PLUGIN_DEFINE_FUNC(qeltest)
{
    (void)root;
    test_ctl_t *ctl = calloc(1, sizeof(*ctl));
    if (!ctl)
        return -ENOMEM;
    ctl->max = 100;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf) {
        snd_config_t *n = snd_config_iterator_entry(i);
        const char *id;
        if (snd_config_get_id(n, &id) < 0)
            continue;
        long v = 0;
        const char *s = NULL;
        if (strcmp(id, "min") == 0 && snd_config_get_integer(n, &v) == 0)
            ctl->min = v;
        else if (strcmp(id, "max") == 0 && snd_config_get_integer(n, &v) == 0)
            ctl->max = v;
        else if (strcmp(id, "log") == 0 && snd_config_get_string(n, &s) == 0)
            ctl->log = strdup(s);
    }
    ctl->value[0] = ctl->value[1] = ctl->min;
    ctl->ext.version = SND_CTL_EXT_VERSION;
    ctl->ext.card_idx = 0;
    strcpy(ctl->ext.id, "qeltest");
    strcpy(ctl->ext.driver, "qeltest");
    strcpy(ctl->ext.name, "qeltest");
    strcpy(ctl->ext.longname, "qeltest");
    strcpy(ctl->ext.mixername, "qeltest");
    ctl->ext.poll_fd = -1;
    ctl->ext.callback = &callbacks;
    ctl->ext.private_data = ctl;
    const int err = snd_ctl_ext_create(&ctl->ext, name, mode);
    if (err < 0) {
        free(ctl->log);
        free(ctl);
        return err;
    }
    *handlep = ctl->ext.handle;
    return 0;
}

SND_CTL_PLUGIN_SYMBOL(qeltest);
