#include "credits.h"

#include "database.h"
#include "recordset.h"

using namespace Qt::StringLiterals;

namespace credits {

namespace {

bool hasText(const QVariant &v)
{
    return !v.isNull() && !v.toString().isEmpty();
}

} // namespace

QVariant line(const QVariant &kaynakKisi, const QVariant &derleyen, const QVariant &soz, const QVariant &muzik)
{
    QString out;
    if (hasText(kaynakKisi))
        out += u"K:"_s + kaynakKisi.toString();
    if (hasText(derleyen))
        out += u"  D:"_s + derleyen.toString();
    const bool lyricist = hasText(soz), composer = hasText(muzik);
    if (lyricist && composer) {
        const QString s = soz.toString(), m = muzik.toString();
        if (s == m)
            out += u"   SM:"_s + s;
        else
            out += u"   S:"_s + s + u"  M:"_s + m;
    } else if (composer) {
        out += u"  M:"_s + muzik.toString();
    } else if (lyricist) {
        out += u"  S:"_s + soz.toString();
    }
    if (out.isEmpty())
        return QVariant();
    return out;
}

void rewriteAll(db::Database &db)
{
    if (db.isReadOnly())
        return;
    db::Database::Transaction tx(db);
    auto rs = db.openRecordset(u"SELECT KaynakKişi, Derleyen, Söz, Müzik, girişmodu FROM Zelvoran"_s);
    for (; !rs->eof(); rs->moveNext()) {
        const QVariant fresh = line(rs->field(u"KaynakKişi"_s), rs->field(u"Derleyen"_s), rs->field(u"Söz"_s),
                                    rs->field(u"Müzik"_s));
        const QVariant stored = rs->field(u"girişmodu"_s);
        // A line that is already right is left alone: the result is the same.
        if (stored.isNull() == fresh.isNull() && stored.toString() == fresh.toString())
            continue;
        rs->edit();
        rs->setField(u"girişmodu"_s, fresh);
        rs->update();
    }
    tx.commit();
}

} // namespace credits
