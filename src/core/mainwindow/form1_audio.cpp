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
            m_ui.stbar->setPanelText(3, path);
    });
    // A failed play has closed what played before: nothing plays.
    connect(m_player, &audio::Player::failed, this, [this] { m_ui.stbar->setPanelText(3, QString()); });
    // Told after the player's own signal has returned, not inside it.
    connect(
        m_player, &audio::Player::failed, this,
        [](int, const QString &path, const QString &reason) {
            msg::box(u"Dosya çalınamadı:\n"_s + path + u"\n"_s + reason);
        },
        Qt::QueuedConnection);

    for (int n = 1; n <= 4; ++n) {
        connect(m_ui.Play[n - 1], &MyButton::Click, this, [this, n] { Play_Click(n); });
        DropDownCombo *list = m_ui.sec[n - 1];
        connect(list, &DropDownCombo::dropDown, this, [this, n] { sec_DropDown(n); });
        // Only a choice of the user: clearing and filling the list change its index too.
        connect(list, &QComboBox::activated, this, [this, n](int index) { sec_Click(n, index); });
    }
    connect(m_ui.MyButton3, &MyButton::Click, this, &Form1::MyButton3_Click);
    connect(m_ui.stop, &MyButton::Click, this, &Form1::stop_Click);
    connect(m_ui.Command1, &MyButton::Click, this, &Form1::Command1_Click);
    // A list built for the song left behind is built again before a key chooses from it.
    connect(m_ui.Data1, &db::DataControl::reposition, this, [this] {
        for (DropDownCombo *list : m_ui.sec)
            list->setStale();
    });
    connect(m_ui.sldvolume, &RuvSlider::ValueChanged, this, &Form1::sldvolume_ValueChanged);
}

// Panel 3 shows slot 1's path once the player has opened the file, and is cleared when a play fails.
void Form1::Play_Click(int n)
{
    const QLineEdit *box = m_ui.mp3yol[n - 1];
    if (box->text().isEmpty())
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
    m_ui.stbar->setPanelText(3, QString());
}

// An engine failure is told and the list keeps what it held.
void Form1::sec_DropDown(int n)
{
    DropDownCombo *list = m_ui.sec[n - 1];
    if (!g::vt)
        return;
    QStringList extensions;
    for (const QLineEdit *uz : m_ui.uz)
        extensions << uz->text();
    try {
        const QStringList entries = audio::candidateList(*g::vt, m_ui.Text3->text(), m_ui.mp3yol0->text(), extensions);
        list->clear();
        list->addItems(entries);
    } catch (const db::Error &e) {
        msg::box(e.description());
    }
}

// A candidate's path goes into the slot's box; the first entry asks for a file. Paths
// are kept as chosen.
void Form1::sec_Click(int n, int index)
{
    const DropDownCombo *list = m_ui.sec[n - 1];
    QLineEdit *box = m_ui.mp3yol[n - 1];
    const QString text = list->itemText(index);
    if (text != QString::fromUtf16(audio::kNotInList)) {
        box->setText(text);
        return;
    }
    const QString chosen = fonksiyon::dosyaac(m_ui.mp3yol0->text(), kAudioFilter);
    if (!chosen.isEmpty())
        box->setText(chosen.left(chosen.indexOf(QChar(u'\0'))));
}

// A cancelled chooser leaves the box as it is, whatever was typed since an earlier choice.
void Form1::Command1_Click()
{
    QLineEdit *box = m_ui.mp3yol0;
    const QString chosen = fileopen::getFolder(u"Klasör Seç..."_s, box->text());
    if (chosen.isEmpty())
        return;
    g::secilenklasor = chosen;
    box->setText(chosen);
    saveMusicSettings();
}

void Form1::sldvolume_ValueChanged()
{
    audio::applyVolume(m_ui.sldvolume->value());
}

void Form1::saveMusicSettings()
{
    try {
        m_ui.Data2->saveRecord();
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
