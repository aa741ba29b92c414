#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <variant>

class DropDownCombo;
class ImageList;
class MyButton;
class QAbstractButton;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QTimer;
class QWidget;
class RecordScrollBar;
class RuvSlider;
class StatusBar;
class TreeView;
namespace db {
class DataControl;
}

// The main window's controls, found once in the loaded layout.
struct Form1Controls {
    db::DataControl *Data1, *Data2;
    QTimer *Timer1;
    ImageList *ImageList1;
    StatusBar *stbar;
    TreeView *TVW;
    RecordScrollBar *HScroll1;
    QGroupBox *Frame2;
    QLineEdit *Text3;                     // the title
    QPlainTextEdit *Text1;                // the lyrics
    QPlainTextEdit *sozcuk;               // the idioms of the lyrics
    std::array<QPlainTextEdit *, 10> txt; // the other fields, txt(0) .. txt(9)
    QAbstractButton *option1, *option2;   // view and edit mode
    MyButton *sil, *RPR, *szlkac, *about, *cmd_ekle, *hlp, *cmdonsoz;

    // Search: the word, its scope boxes (ara_b, ara_bs, ara_y, ara_all, ara_szlk) and the button.
    QLineEdit *ara;
    std::array<QAbstractButton *, 5> scopes;
    MyButton *sbaslikara;

    // The grouping option buttons, grnm_bslk first, in the order of kGroupings.
    std::array<QAbstractButton *, 8> grnm;

    // Audio: the music folder mp3yol0 and its button, slots 1 to 4 at [n - 1], the three
    // extensions uz1 .. uz3, pause, stop and the volume.
    QLineEdit *mp3yol0;
    MyButton *Command1;
    std::array<MyButton *, 4> Play;
    std::array<DropDownCombo *, 4> sec;
    std::array<QLineEdit *, 4> mp3yol;
    std::array<QLineEdit *, 3> uz;
    MyButton *MyButton3, *stop;
    RuvSlider *sldvolume;

    // Moving over these closes the controls' tip.
    std::array<QWidget *, 8> frames;
};

namespace form1controls {

// The grouping option buttons' names, in the order of Form1Controls::grnm.
inline constexpr std::array<const char16_t *, 8> kGroupings = {u"grnm_bslk",  u"grnm_yore",   u"grnm_turu1",
                                                               u"grnm_turu2", u"grnm_kaynak", u"grnm_derleyen",
                                                               u"grnm_soz",   u"grnm_muzik"};
inline constexpr std::array<const char16_t *, 5> kScopes = {u"ara_b", u"ara_bs", u"ara_y", u"ara_all", u"ara_szlk"};

// Every control in `form`, or the names of those missing or of another kind.
std::variant<Form1Controls, QStringList> find(QWidget *form);

// What the window says when its layout lacks controls: the missing names and the layout
// loader's own problems.
QString layoutFailure(const QStringList &missing, const QStringList &loaderProblems);

} // namespace form1controls
