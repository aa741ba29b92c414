#include "report.h"

#include "appwindows.h"

#include <QDeadlineTimer>
#include <QLocale>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace report {

namespace {

// A reading that ends within this is waited for without a window.
constexpr int kQuietMs = 500;
constexpr int kCountEveryMs = 100;

QString readSoFar(qint64 rows)
{
    return u"Rapor hazırlanıyor...\nOkunan kayıt: %1"_s.arg(QLocale(QLocale::Turkish).toString(rows));
}

} // namespace

Loaded loadRowsShowingProgress(QWidget *parent, const QString &databasePath, const QString &sql)
{
    // The thread opens a connection of its own and is the only one to use it.
    auto progress = std::make_shared<Progress>();
    auto result = std::make_shared<Loaded>();
    std::unique_ptr<QThread> thread(QThread::create(
        [progress, result, databasePath, sql] { *result = loadRows(databasePath, sql, progress.get()); }));
    thread->start();
    if (!thread->wait(QDeadlineTimer(kQuietMs))) {
        QPointer<QProgressDialog> dialog = new QProgressDialog(parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowTitle(u"Rapor"_s);
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setLabelText(readSoFar(progress->rows));
        dialog->setCancelButtonText(u"İptal"_s);
        dialog->setRange(0, 0);
        dialog->setMinimumDuration(0);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        auto *count = new QTimer(dialog);
        QObject::connect(count, &QTimer::timeout, dialog,
                         [dialog, progress] { dialog->setLabelText(readSoFar(progress->rows)); });
        count->start(kCountEveryMs);
        QObject::connect(dialog, &QProgressDialog::canceled, dialog, [dialog, progress] {
            progress->stop = true;
            dialog->close();
        });
        QObject::connect(thread.get(), &QThread::finished, dialog, &QDialog::close);
        // The thread may have ended before the connection was made.
        if (!thread->isFinished())
            appwindows::runModal(dialog);
        if (dialog)
            dialog->close();
    }
    // A window closed some other way (the program quitting) also stops the reading, which
    // the engine ends within a few thousand steps.
    progress->stop = true;
    thread->wait();
    return std::move(*result);
}

} // namespace report
