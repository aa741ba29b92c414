#include "archivefixture.h"

#include "database.h"
#include "form1.h"
#include "formkinds.h"
#include "globals.h"
#include "recordset.h"
#include "schema.h"
#include "songdatabase.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

ArchiveFixture::ArchiveFixture()
{
    static bool kinds = false;
    if (!kinds) {
        controls::registerFormKinds();
        kinds = true;
    }
    songdb::setSettingsPath(path(u"nsz.dll"_s));
}

ArchiveFixture::~ArchiveFixture()
{
    stop();
    songdb::setSettingsPath({});
}

QString ArchiveFixture::makeArchive(const QString &name, const QList<Song> &songs, const QStringList &letters,
                                    const QList<QPair<QString, QVariant>> &idioms)
{
    const QString file = path(name);
    auto vt = db::Database::create(file);
    schema::createSongDatabase(*vt);
    db::Database::Transaction t(*vt);
    auto rs = vt->openRecordset(u"Zelvoran"_s);
    for (const Song &s : songs) {
        rs->addNew();
        rs->setField(u"Başlık"_s, s.title);
        for (auto it = s.fields.cbegin(); it != s.fields.cend(); ++it)
            rs->setField(it.key(), it.value());
        rs->update();
    }
    auto harf = vt->openRecordset(u"basharfler"_s);
    for (const QString &l : letters) {
        harf->addNew();
        harf->setField(u"basharf"_s, l);
        harf->update();
    }
    auto szl = vt->openRecordset(u"sozluk"_s);
    for (const auto &[deyim, aciklama] : idioms) {
        szl->addNew();
        szl->setField(u"Deyim"_s, deyim);
        szl->setField(u"Acıklama"_s, aciklama);
        szl->update();
    }
    t.commit();
    return file;
}

void ArchiveFixture::makeSettings(const QString &stored)
{
    auto ayar = db::Database::create(path(u"nsz.dll"_s));
    schema::createSettingsDatabase(*ayar, stored);
}

QString ArchiveFixture::storedPath() const
{
    auto ayar = db::Database::open(songdb::settingsPath());
    return songdb::storedPath(*ayar);
}

bool ArchiveFixture::start()
{
    m_form = std::make_unique<Form1>();
    g::anaform = m_form.get();
    if (!m_form->load())
        return false;
    QSignalSpy activated(m_form.get(), &Form1::firstActivationDone);
    m_form->show();
    if (!activated.wait(2000) && activated.isEmpty())
        return false;
    return true;
}

void ArchiveFixture::stop()
{
    if (m_form) {
        m_form->close();
        m_form.reset();
    }
    g::reset();
}

QList<Song> sampleSongs()
{
    auto song = [](const QString &title, QVariantMap f) { return Song{title, f}; };
    return {
        song(u"Ali Paşa"_s,
             {{u"Sözler"_s, u"Gel yanıma\nsevdiğim"_s}, {u"Derleyen"_s, u"Veli"_s}, {u"Yöresi"_s, u"Sivas"_s}}),
        song(u"Bülbülüm"_s,
             {{u"Sözler"_s, u"Bülbülüm altın kafeste"_s}, {u"Derleyen"_s, u""_s}, {u"Yöresi"_s, u"İzmir"_s}}),
        song(u"Çanakkale"_s, {{u"Sözler"_s, u"Çanakkale içinde"_s}, {u"Yöresi"_s, u"Çanakkale"_s}}),
        song(u"Ayva Çiçek"_s,
             {{u"Sözler"_s, u"Ayva çiçek açmış"_s}, {u"Derleyen"_s, u"Veli"_s}, {u"Yöresi"_s, u"Sivas"_s}}),
        song(u"Sarı Gelin"_s,
             {{u"Sözler"_s, u"Erzurum çarşı pazar"_s}, {u"Derleyen"_s, u"Ahmet"_s}, {u"Yöresi"_s, u"Erzurum"_s}}),
    };
}
