#pragma once

#include <QString>

// The sample archive built from the text sources in data/, and large generated archives
// for measurements. Every builder writes a new file beside the target and puts it in
// place only when it is complete, replacing a file that is there; on failure the target
// stays as it was and the reason is in *error.
namespace sample {

// Songs (data/songs/*.txt), initial letters (harfler.txt), dictionary (sozluk.txt) and
// music settings (ayarlar.txt) into a new song database, in one transaction.
bool buildArchive(const QString &dataDir, const QString &songDbPath, QString *error);

// A settings database whose vtyol is songDbPath, with the forewords onsoz_vu.txt and
// onsoz_qel.txt of dataDir.
bool buildSettings(const QString &settingsPath, const QString &songDbPath, const QString &dataDir, QString *error);

// A synthetic song database: `songs` unique titles spread over the Turkish alphabet, a few
// lines of lyrics each, up to distinctPerField values in each grouped field, some Null and
// some empty. The same arguments always give the same archive.
bool generateArchive(const QString &songDbPath, int songs, int distinctPerField, QString *error);

} // namespace sample
