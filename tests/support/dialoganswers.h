#pragma once

#include "filedialog.h"
#include "messagebox.h"

#include <QList>
#include <QStringList>

// Answers the program's message boxes and file dialogs while it lives, and keeps what
// they were asked.
class DialogAnswers {
public:
    DialogAnswers();
    ~DialogAnswers();
    DialogAnswers(const DialogAnswers &) = delete;
    DialogAnswers &operator=(const DialogAnswers &) = delete;

    // Answers for the file dialog, taken in order; an empty answer (or none left) cancels.
    QStringList dialogAnswers;
    int dialogCalls = 0;
    QList<fileopen::Request> dialogs;

    // Answers for message boxes, taken in order; when none is left, Ok (or Yes).
    QList<msg::Result> boxAnswers;
    QList<msg::Request> boxes;
    QStringList boxTexts() const;
};
