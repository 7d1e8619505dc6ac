#pragma once
// The animated piston of the skinned window ("piston.gif" from the program
// folder, archive or disk) at its place on every screen but the document
// screen; it lets the mouse through to the skin below.

#include <memory>

class QBuffer;
class QLabel;
class QMovie;
class QWidget;

namespace carmanual {

class TPiston final {
public:
    // Null when the picture is missing or is no animation.
    static std::unique_ptr<TPiston> Create(QWidget* window);
    ~TPiston();

    // Shown and playing, or hidden and stopped.
    void Show(bool show);

private:
    TPiston() = default;
    QBuffer* m_data = nullptr;
    QMovie* m_movie = nullptr;
    QLabel* m_label = nullptr;
};

} // namespace carmanual
