#include "fontwarmup.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>

namespace carmanual {

TFontWarmup::TFontWarmup(QStringList families)
    : m_worker([families = std::move(families)] {
          QFontDatabase::families();
          for (const QString& family : families) {
              QFont font(family);
              font.setPixelSize(14);
              QFontMetrics(font).horizontalAdvance(QStringLiteral("Аа"));
          }
      }) {}

TFontWarmup::~TFontWarmup() {
    if (m_worker.joinable())
        m_worker.join();
}

} // namespace carmanual
