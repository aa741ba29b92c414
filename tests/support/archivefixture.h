#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>

#include "dialoganswers.h"

class Form1;

// One song of a fixture: the title and any other fields by name (absent = Null).
struct Song {
    QString title;
    QVariantMap fields;
};

// Song and settings databases in a temporary folder, answered dialogs and message boxes,
// and a main window started on them.
class ArchiveFixture : public DialogAnswers {
public:
    ArchiveFixture();
    ~ArchiveFixture();

    QString path(const QString &name) const { return m_dir.filePath(name); }
    // A song database with these songs, initial letters and dictionary rows.
    QString makeArchive(const QString &name, const QList<Song> &songs, const QStringList &letters = {},
                        const QList<QPair<QString, QVariant>> &idioms = {});
    void makeSettings(const QString &storedPath);
    QString storedPath() const;

    // Creates the main window, runs its load and shows it; waits for the first activation.
    bool start();
    Form1 *form() const { return m_form.get(); }
    // Closes the window and resets the global state.
    void stop();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};

QList<Song> sampleSongs();
