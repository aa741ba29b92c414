#pragma once

#include "form1controls.h"
#include "titleedit.h"
#include "titletree.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QTimer;
class StatusBar;
class TreeView;
class TreeNode;
class RecordScrollBar;
class ImageList;
class MyButton;
namespace db {
class DataControl;
class Database;
class Error;
} // namespace db
namespace audio {
class Player;
}
namespace search {
struct Statement;
}
namespace idioms {
class DictionaryCache;
}

// The main window: title tree, record display, search, groupings, audio slots and the
// status bar. Handlers are named after their control and event.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // The window of this layout; one that lacks a control the window needs makes no window
    // (load() says why and gives false).
    explicit Form1(const QString &layout = QStringLiteral(":/forms/Form1.json"), QWidget *parent = nullptr);
    ~Form1() override;

    // Form_Load; false when the user chose to quit before a song database was open, or when
    // the layout lacked a control.
    bool load();

    // Public procedures other windows call through g::anaform.
    // Returns false when the song database could not be opened and the user quit.
    bool vtac(int mod1);
    void tree();
    void kapat();
    void dinamikbul();
    void showIdiomsIgnoringErrors();

    db::DataControl *data1() const { return m_ui.Data1; }
    db::DataControl *data2() const { return m_ui.Data2; }
    StatusBar *stbar() const { return m_ui.stbar; }
    TreeView *tvw() const { return m_ui.TVW; }
    RecordScrollBar *hscroll1() const { return m_ui.HScroll1; }

signals:
    // The first activation has run (tests wait for it).
    void firstActivationDone();

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Form_Activate();
    void Form_Resize();
    void stbar_PanelClick(int n);
    void showChosenView();
    void Timer1_Timer();

    void grnm_bslk_Click();
    void grnm();
    void grnm_Click(int n); // the grouping option n of Form1Controls::grnm
    void grouped(const titletree::GroupedView &view);
    void showBuildReport(const titletree::BuildReport &report);
    void connectGroupings();
    void setScrollIgnoringErrors(int value);

    void izlememodu();
    void duzenlememodu();
    void setMode(bool view);

    void Data1_Reposition();
    void HScroll1_Change();
    void HScroll1_Scroll(int value);
    void TVW_NodeClick(TreeNode *node);
    void selectShownNode();
    void reportRefusedSave(const db::Error &e);
    void showStoredTitle();
    void restoreScrollToRecord();
    void dropPendingEdit();

    void openSecondary(const QString &formName);
    bool saveBeforeLeaving();
    void closeValueTip();

    enum class Opened { Yes, No, EditRefused };
    Opened openSongDatabase(const QString &path, int mod1);

    // Audio slots, playback, volume and the music folder (form1_audio.cpp).
public:
    audio::Player *player() const { return m_player; }

private:
    void connectAudio();
    void Play_Click(int n); // slots 1 to 4
    void MyButton3_Click();
    void stop_Click();
    void mp3durdur();
    void sec_DropDown(int n);
    void sec_Click(int n, int index);
    void Command1_Click();
    void sldvolume_ValueChanged();
    void saveMusicSettings();
    void audioUnload();
    audio::Player *m_player = nullptr;
    // The report (form1_report.cpp).
    void RPR_Click();

    Form1Controls m_ui{};
    QString m_layoutFailure; // why the layout cannot make this window; said by load()
    std::unique_ptr<titletree::TitleTree> m_titleTree;
    std::unique_ptr<idioms::DictionaryCache> m_dictionary;
    bool m_unloading = false;
    std::optional<titletree::BuildReport> m_treeFromLoad; // built by load(), not yet shown
    bool m_restoringScroll = false;

    // Modes, title typing and delete (form1_edit.cpp); search (form1_search.cpp).
public:
    // Saves the shown record's pending edit; a refusal is reported and gives false.
    bool saveShownRecord();
    // After the add window stored a song: every title in the tree, every record in Data1.
    void songAdded();
    void basliktree(const QString &aranan, const search::Statement &sqlsql);

private:
    void connectEditing();
    void option1_MouseDown();
    void option2_MouseDown();
    void Text3_GotFocus();
    bool Text3_KeyDown(QKeyEvent *e);
    void Text3_KeyUp(QKeyEvent *e);
    void Text3_Edited();
    TreeNode *shownNode() const; // the shown record's node in the tree shown, or none
    void restoreTitle();
    void sil_Click();
    void showAfterDelete(int position);
    void showHitAfterDelete(const QString &hit, int position);
    titleedit::RecordNode m_recordNode;

    void connectSearch();
    void ara_Click();
    void scope_MouseDown(size_t n); // the scope box n of Form1Controls::scopes
    void sbaslikara_Click();
    bool moveToTitle(const QString &title);
};
