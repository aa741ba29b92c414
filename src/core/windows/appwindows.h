#pragma once

#include <QDialog>
#include <QString>

class QWidget;

// The secondary windows opened from the main window.
namespace appwindows {

// The frame of the program's small windows: a tool window with a title and a close button.
inline constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// A secondary window built from its layout file. Escape does not close it: typed text
// goes only through its own button or the close box.
class Window : public QDialog {
    Q_OBJECT
public:
    Window(const QString &formName, QWidget *parent, Qt::WindowFlags flags = {});

protected:
    void keyPressEvent(QKeyEvent *e) override;
};

// Registers the layouts and pictures of this static library; call before loading a window.
void initResources();
// Shows a window modally, counted among the loaded windows while it is open.
void runModal(QDialog *dialog);
// Unloads the controls' shared tip window when it is shown.
void closeValueTip();

} // namespace appwindows
