#include "programfonts.h"

#include "paths.h"
#include "qtansi.h"
#include "syntax.h"

#include <QFontDatabase>

namespace carmanual {

void TProgramFonts::Add() {
    TDynamicStringArray masks{"*.ttf"};
    TDynamicStringArray fonts;
    ScanDirectory(ProgramDir(), masks, false, fonts, false);
    for (const std::string& font : fonts) {
        const QString path = FindDiskFile(font);
        if (path.isEmpty())
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id >= 0)
            m_ids.push_back(id);
    }
}

void TProgramFonts::Remove() {
    for (int id : m_ids)
        QFontDatabase::removeApplicationFont(id);
    m_ids.clear();
}

} // namespace carmanual
