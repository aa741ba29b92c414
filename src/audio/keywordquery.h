#pragma once

#include <QString>
#include <QStringList>

// The words of a song's title that the audio-file search looks for, and the text of the
// stored query that finds them in the index.
namespace audio {

// Blanks in the text plus one.
int kelimesay(const QString &text);
// The folder with "/" appended, unless it already ends with one.
QString yolsonu(const QString &folder);
// Up to four keywords: of the first four blank-separated parts, those of three or more
// characters that are not "Ben", "Sen" or "İle" in one of their three spellings.
QStringList keywords(const QString &title);
// The query's text for the title; empty when the title has no keyword. Each keyword is
// matched literally (apostrophes doubled, the Like wildcards bracketed).
QString aramaSql(const QString &title);

} // namespace audio
