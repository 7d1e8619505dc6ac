#include "htmlerrors.h"

#include "ansi.h"

namespace carmanual {

EHtmlLoadError::EHtmlLoadError(const std::string& fileName)
    : std::runtime_error("Can't locate file: " + AnsiToUtf8(fileName)), m_fileName(fileName) {}

EHtmlCopyError::EHtmlCopyError() : std::runtime_error("Selected text exceeds buffer size") {}

} // namespace carmanual
