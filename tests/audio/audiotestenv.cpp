#include "audiotestenv.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>

using namespace Qt::StringLiterals;

namespace audiotest {

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString g_log;
int g_configs = 0;

void setAlsaConfig(const QString &text)
{
    // A new file each time: alsa-lib reloads its configuration when the file changed.
    const QString path = folder().filePath(u"alsa-%1.conf"_s.arg(++g_configs));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(path));
}

} // namespace

void quietEnvironment()
{
    QByteArray ranks;
    for (const char *feature : {"pulsesink", "alsasink", "pipewiresink", "jackaudiosink", "osssink", "oss4sink",
                                "openalsink", "pulsedeviceprovider", "alsadeviceprovider", "pipewiredeviceprovider"})
        ranks += QByteArray(feature) + ":NONE,";
    ranks.chop(1);
    qputenv("GST_PLUGIN_FEATURE_RANK", ranks);
    qputenv("PULSE_SERVER", "unix:/nonexistent/qel-test-pulse");
    useNoMixer();
}

QString useTestMixer(long min, long max)
{
    g_log = folder().filePath(u"mixer-%1.log"_s.arg(g_configs + 1));
    QFile::remove(g_log);
    setAlsaConfig(uR"(ctl_type.qeltest {
    lib "%1"
    open "_snd_ctl_qeltest_open"
}
ctl.default {
    type qeltest
    min %2
    max %3
    log "%4"
}
)"_s.arg(QString::fromUtf8(QEL_ALSA_TEST_PLUGIN), QString::number(min), QString::number(max), g_log));
    return g_log;
}

void useNoMixer()
{
    g_log.clear();
    setAlsaConfig(u"# no controls\n"_s);
}

QStringList mixerWrites()
{
    QFile f(g_log);
    if (g_log.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void writeWav(const QString &path, int milliseconds)
{
    const quint32 rate = 8000;
    const quint32 samples = rate * quint32(milliseconds) / 1000;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(std::lround(800 * std::sin(2 * M_PI * 440 * i / rate)));
}

} // namespace audiotest
