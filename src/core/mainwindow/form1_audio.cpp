// The main window's audio slots: candidate lists, playback, the volume and the music folder.
#include "form1.h"

#include "datacontrol.h"
#include "dropdowncombo.h"
#include "filedialog.h"
#include "fonksiyon.h"
#include "globals.h"
#include "messagebox.h"
#include "mixer.h"
#include "musicindex.h"
#include "mybutton.h"
#include "player.h"
#include "ruvslider.h"
#include "statusbar.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

const QString kAudioFilter = u"Mpeg Audio Layer 3 (*.mp3)"_s + QChar(u'\0') + u"*.mp3"_s + QChar(u'\0')
                             + u"Microsoft Waveform Audio Files (*.wav)"_s + QChar(u'\0') + u"*.wav"_s + QChar(u'\0')
                             + u"Windows Media (*.wma)"_s + QChar(u'\0') + u"*.wma"_s + QChar(u'\0');

} // namespace

void Form1::connectAudio()
{
    m_player = new audio::Player(this);
    connect(m_player, &audio::Player::started, this, [this](int slot, const QString &path) {
        if (slot == 1)
            m_stbar->setPanelText(3, path);
    });
    // A failed play has closed what played before: nothing plays.
    connect(m_player, &audio::Player::failed, this, [this] { m_stbar->setPanelText(3, QString()); });
    // Told after the player's own signal has returned, not inside it.
    connect(m_player, &audio::Player::failed, this,
            [](int, const QString &path, const QString &reason) {
                msg::box(u"Dosya çalınamadı:\n"_s + path + u"\n"_s + reason);
            },
            Qt::QueuedConnection);

    auto button = [this](const QString &name, void (Form1::*handler)()) {
        if (auto *b = control<MyButton>(name))
            connect(b, &MyButton::Click, this, handler);
    };
    button(u"Play1"_s, &Form1::Play1_Click);
    button(u"Play2"_s, &Form1::Play2_Click);
    button(u"Play3"_s, &Form1::Play3_Click);
    button(u"Play4"_s, &Form1::Play4_Click);
    button(u"MyButton3"_s, &Form1::MyButton3_Click);
    button(u"stop"_s, &Form1::stop_Click);
    button(u"Command1"_s, &Form1::Command1_Click);

    const struct {
        void (Form1::*dropDown)();
        void (Form1::*click)(int);
    } lists[] = {{&Form1::sec1_DropDown, &Form1::sec1_Click}, {&Form1::sec2_DropDown, &Form1::sec2_Click},
                 {&Form1::sec3_DropDown, &Form1::sec3_Click}, {&Form1::sec4_DropDown, &Form1::sec4_Click}};
    for (int n = 1; n <= 4; ++n) {
        if (auto *list = control<DropDownCombo>(u"sec%1"_s.arg(n))) {
            connect(list, &DropDownCombo::dropDown, this, lists[n - 1].dropDown);
            // Only a choice of the user: clearing and filling the list change its index too.
            connect(list, &QComboBox::activated, this, lists[n - 1].click);
        }
    }
    // A list built for the song left behind is built again before a key chooses from it.
    connect(m_data1, &db::DataControl::reposition, this, [this] {
        for (int n = 1; n <= 4; ++n) {
            if (auto *list = control<DropDownCombo>(u"sec%1"_s.arg(n)))
                list->setStale();
        }
    });
    if (auto *slider = control<RuvSlider>(u"sldvolume"_s))
        connect(slider, &RuvSlider::ValueChanged, this, &Form1::sldvolume_ValueChanged);
}

void Form1::Play1_Click() { playSlot(1); }
void Form1::Play2_Click() { playSlot(2); }
void Form1::Play3_Click() { playSlot(3); }
void Form1::Play4_Click() { playSlot(4); }

// Panel 3 shows slot 1's path once the player has opened the file, and is cleared when a play fails.
void Form1::playSlot(int n)
{
    const auto *box = control<QLineEdit>(u"mp3yol%1"_s.arg(n));
    if (!box || box->text().isEmpty())
        return;
    m_player->mp3cal(box->text(), n);
    sldvolume_ValueChanged();
}

void Form1::MyButton3_Click()
{
    m_player->mp3duraklat();
}

void Form1::stop_Click()
{
    mp3durdur();
}

void Form1::mp3durdur()
{
    if (m_player)
        m_player->stop();
    m_stbar->setPanelText(3, QString());
}

void Form1::sec1_DropDown() { secDropDown(1); }
void Form1::sec2_DropDown() { secDropDown(2); }
void Form1::sec3_DropDown() { secDropDown(3); }
void Form1::sec4_DropDown() { secDropDown(4); }

// An engine failure is told and the list keeps what it held.
void Form1::secDropDown(int n)
{
    auto *list = control<DropDownCombo>(u"sec%1"_s.arg(n));
    const auto *folder = control<QLineEdit>(u"mp3yol0"_s);
    if (!list || !folder || !g::vt)
        return;
    QStringList extensions;
    for (int i = 1; i <= 3; ++i) {
        const auto *uz = control<QLineEdit>(u"uz%1"_s.arg(i));
        extensions << (uz ? uz->text() : QString());
    }
    try {
        const QStringList entries = audio::candidateList(*g::vt, m_text3->text(), folder->text(), extensions);
        list->clear();
        list->addItems(entries);
    } catch (const db::Error &e) {
        msg::box(e.description());
    }
}

void Form1::sec1_Click(int index) { secClick(1, index); }
void Form1::sec2_Click(int index) { secClick(2, index); }
void Form1::sec3_Click(int index) { secClick(3, index); }
void Form1::sec4_Click(int index) { secClick(4, index); }

// A candidate's path goes into the slot's box; the first entry asks for a file. Paths
// are kept as chosen.
void Form1::secClick(int n, int index)
{
    const auto *list = control<DropDownCombo>(u"sec%1"_s.arg(n));
    auto *box = control<QLineEdit>(u"mp3yol%1"_s.arg(n));
    const auto *folder = control<QLineEdit>(u"mp3yol0"_s);
    if (!list || !box)
        return;
    const QString text = list->itemText(index);
    if (text != QString::fromUtf16(audio::kNotInList)) {
        box->setText(text);
        return;
    }
    const QString chosen = fonksiyon::dosyaac(folder ? folder->text() : QString(), kAudioFilter);
    if (!chosen.isEmpty())
        box->setText(chosen.left(chosen.indexOf(QChar(u'\0'))));
}

// A cancelled chooser leaves the box as it is, whatever was typed since an earlier choice.
void Form1::Command1_Click()
{
    auto *box = control<QLineEdit>(u"mp3yol0"_s);
    if (!box)
        return;
    const QString chosen = fileopen::getFolder(u"Klasör Seç..."_s, box->text());
    if (chosen.isEmpty())
        return;
    g::secilenklasor = chosen;
    box->setText(chosen);
    saveMusicSettings();
}

void Form1::sldvolume_ValueChanged()
{
    if (const auto *slider = control<RuvSlider>(u"sldvolume"_s))
        audio::applyVolume(slider->value());
}

void Form1::saveMusicSettings()
{
    try {
        m_data2->saveRecord();
    } catch (const db::Error &e) {
        msg::box(u"Müzik klasörü saklanamadı:\n"_s
                 + (e.causeDescription().isEmpty() ? e.description() : e.causeDescription()));
    }
}

void Form1::audioUnload()
{
    saveMusicSettings();
    mp3durdur();
}
