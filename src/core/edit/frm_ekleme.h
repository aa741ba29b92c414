#pragma once

#include "appwindows.h"

#include <QVariant>

// The add-record window: a new song typed into unbound boxes and stored by "Ekle"; the
// main window then shows every title and every record again.
class FrmEkleme : public appwindows::Window {
    Q_OBJECT
public:
    explicit FrmEkleme(QWidget *parent = nullptr);

    // Null for the empty text, else veri unchanged.
    static QVariant ToNull(const QVariant &veri);

    void ekle_Click();
    void kapat_Click();

private:
    QString boxText(const QString &name) const;
};
