#pragma once
// The errors the HTML engine raises through its interface. Their texts are the
// engine's own, in UTF-8; the names they carry are manual names (Windows-1251).

#include <stdexcept>
#include <string>

namespace carmanual {

// A document, frame document or frame set that neither the archive nor the
// disk has. what() is "Can't locate file: " followed by the name.
class EHtmlLoadError : public std::runtime_error {
public:
    explicit EHtmlLoadError(const std::string& fileName);
    // The name as asked for, Windows-1251 (anchor removed).
    const std::string& FileName() const { return m_fileName; }

private:
    std::string m_fileName;
};

// CopySelection of more text than the clipboard buffer of the engine holds.
// what() is "Selected text exceeds buffer size".
class EHtmlCopyError : public std::runtime_error {
public:
    EHtmlCopyError();
};

// The most characters CopySelection puts on the clipboard.
constexpr int kMaxCopyChars = 31999;

} // namespace carmanual
