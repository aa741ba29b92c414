#include "newsong.h"

#include "database.h"
#include "dberror.h"
#include "recordset.h"

using namespace Qt::StringLiterals;

namespace newsong {

QVariant nullIfEmpty(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return {};
    return value;
}

std::optional<db::Error> add(db::Database &vt, const QString &title, const QList<std::pair<QString, QString>> &fields)
{
    try {
        // An empty selection of the table is enough to add a row; its values are bound.
        auto rs = vt.openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {title});
        rs->addNew();
        rs->setField(u"Başlık"_s, title);
        for (const auto &[field, text] : fields)
            rs->setField(field, nullIfEmpty(text));
        rs->update();
    } catch (const db::Error &e) {
        return e;
    }
    return std::nullopt;
}

} // namespace newsong
