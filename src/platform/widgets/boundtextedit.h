#pragma once

#include "datacontrol.h"

#include <QObject>
#include <QPointer>
#include <vector>

class QPlainTextEdit;

// Binds a QPlainTextEdit to a field of a data control. The box shows every line end of
// the value (CR LF, CR, LF, paragraph separator) as a line break; an edit gives back the
// stored value with only the user's change put in, so that what the user did not touch
// keeps its characters. New line breaks are CR LF in a value that has CR LF, else LF.
class BoundTextEdit : public QObject, public db::FieldBinding {
    Q_OBJECT
public:
    BoundTextEdit(QPlainTextEdit *edit, const QString &dataField);
    ~BoundTextEdit() override;

    void bindTo(db::DataControl *control);
    db::DataControl *dataControl() const { return m_control; }
    QPlainTextEdit *edit() const { return m_edit; }

    QString dataField() const override { return m_field; }
    void showValue(const QVariant &value) override;
    bool isChanged() const override { return m_changed; }
    QVariant editedValue() const override;
    void clearChanged() override { m_changed = false; }

private:
    QPlainTextEdit *m_edit;
    QString m_field;
    QPointer<db::DataControl> m_control;
    bool m_changed = false;
    bool m_showing = false;
    QString m_stored;               // the value shown
    QString m_shown;                // as the box held it then
    std::vector<qsizetype> m_pairs; // where m_shown has one line feed for a CR LF of m_stored
};
