#pragma once

#include "form1.h"
#include "globals.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

// The main window's record boxes and its edit mode, as the window tests reach them.
namespace mainwindow {

inline QLineEdit *titleBox(Form1 *w)
{
    return w->findChild<QLineEdit *>(QStringLiteral("Text3"));
}

inline QPlainTextEdit *lyricsBox(Form1 *w)
{
    return w->findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
}

// Ticks "edit" as a click does.
inline void editMode(Form1 *w)
{
    QTest::mouseClick(w->findChild<QCheckBox *>(QStringLiteral("option2")), Qt::LeftButton);
    QCOMPARE(g::penceremodu, QStringLiteral("düzenleme"));
}

} // namespace mainwindow
