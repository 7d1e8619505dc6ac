#pragma once
// The demo manual's pages and the files they offer, made from the UTF-8
// sources in the repository:
//
//   MakePages: every page (*.htm) is written in the character set it declares
//   in its <meta> charset (windows-1251, koi8-r or utf-8; a page without a
//   declaration in windows-1251, as the program reads it) with CR LF line
//   ends; style sheets are copied; every picture and sound a page names by a
//   relative src or href is painted or synthesised by its base name.
//
//   MakeRar: a folder packed into a stored RAR 4.x archive; names in the OEM
//   code page (CP866), text files in Windows-1251 with CR LF, every entry
//   dated alike so that the archive is the same on every run. MakeZip does
//   the same for a ZIP archive.

#include <QString>
#include <QStringList>

namespace skingen {

// The charset a page declares ("windows-1251", "koi8-r", "utf-8", lower
// case), or empty when it declares none.
QString DeclaredCharset(const QString& page);

// The values of every src= and href= attribute of a page, in order.
QStringList LinkValues(const QString& page);

// Exit status: 0 success, 1 a source the program could not read as written.
int MakePages(const QString& sourceDir, const QString& outDir);
int MakeRar(const QString& archive, const QString& sourceDir);
// The same for a ZIP archive.
int MakeZip(const QString& archive, const QString& sourceDir);

} // namespace skingen
