// The main window's input: the skin's mouse handling, keys, dropped files,
// and closing.

#include "mainform.h"

#include "ansi.h"
#include "closing.h"
#include "commandrules.h"
#include "dispatcher.h"
#include "effcar.h"
#include "formoptions.h"
#include "htmlframe.h"
#include "paths.h"
#include "skinscreen.h"
#include "treeviews.h"
#include "windowanimator.h"
#include "windowdirectory.h"
#include "windowfinder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWindow>

namespace carmanual {

// -------------------------------------------------------------------- mouse

void TMainForm::Execute(const TMouseOutcome& outcome) {
    const int screen = m_currentScreen;
    for (const TElementAction& action : outcome) {
        switch (action.Type) {
        case TElementAction::TType::Fade:
        case TElementAction::TType::Show:
            m_skin->Apply(action, m_elements);
            break;
        case TElementAction::TType::Command:
            RunCommand(action.Command, action.Sound, TCallOrigin::User, action.Kind, action.Index);
            // The command may have left the screen: the rest was for it.
            if (m_currentScreen != screen)
                return;
            break;
        case TElementAction::TType::Drag:
            break;
        }
    }
}

void TMainForm::FormMouseMove(QPoint pos) {
    if (CarEffectRunning())
        return;
    if (m_dragging) {
        move(QCursor::pos() - m_dragOffset);
        return;
    }
    Execute(m_elements.Move(pos.x(), pos.y()));
}

void TMainForm::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos) {
    FinishStartup();
    m_components->HidePopups(); // open popups close on any click in the window
    if (CarEffectRunning())
        return;
    const TMouseOutcome outcome =
        m_elements.Press(pos.x(), pos.y(), shift.testFlag(Qt::ShiftModifier));
    Execute(outcome);
    // Any button held on a free spot moves the window.
    const bool drag = !outcome.empty() && outcome.back().Type == TElementAction::TType::Drag;
    if (drag && button != Qt::NoButton && !CarEffectRunning())
        DragWindow(pos);
}

void TMainForm::FollowSwitch(QPoint pos) {
    FormMouseDown(Qt::LeftButton, Qt::ShiftModifier, pos);
}

void TMainForm::DragWindow(QPoint pos) {
    if (QWindow* w = windowHandle()) {
        if (w->startSystemMove())
            return;
    }
    // No system move (some X11 set-ups without a window manager): follow the
    // mouse ourselves until the button is released.
    m_dragging = true;
    m_dragOffset = pos;
    grabMouse();
}

void TMainForm::FormMouseUp(QPoint pos) {
    FinishStartup();
    if (m_dragging) {
        m_dragging = false;
        releaseMouse();
        return;
    }
    if (CarEffectRunning())
        return;
    Execute(m_elements.Release(pos.x(), pos.y()));
}

QRect TMainForm::ButtonRect(int index) const {
    const TElementRect& r = m_elements.ButtonRect(index);
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove(event->position().toPoint());
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
    FormMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
    FormMouseUp(event->position().toPoint());
}

void TMainForm::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click counts as a click of its own.
    mousePressEvent(event);
}

void TMainForm::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // The pointer left the window: nothing stays lit.
    if (!m_dragging)
        FormMouseMove(QPoint(-1, -1));
}

// --------------------------------------------------------------------- keys

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Key preview: the window sees keys meant for its own children first.
        // A key its target leaves unhandled goes on to the target's parents
        // through here again; it is previewed once.
        auto* w = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool passedOn = event == m_previewedKey && key->timestamp() == m_previewedKeyTime &&
                              m_previewedReceiver && w && w->isAncestorOf(m_previewedReceiver);
        if (w && (w == this || isAncestorOf(w)) && w->isWindow() == (w == this) && !passedOn) {
            m_previewedKey = event;
            m_previewedKeyTime = key->timestamp();
            m_previewedReceiver = w;
            if (FormKeyDown(key->key(), key->modifiers()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    FinishStartup();
    if (CarEffectRunning())
        return false;
    const Qt::KeyboardModifiers mods =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const auto program = [this](const char* command) {
        RunCommand(command, std::string(), TCallOrigin::Program, TElementKind::None, -1);
    };
    // Only the chapter keys are taken from the control that has the focus;
    // every other key goes on to it after its action here.
    if (key == Qt::Key_Escape) {
        if (m_startedWithParameters || m_mode != TRunMode::Skinned) {
            QApplication::quit();
            return true;
        }
        // The search dialog closes here once it is present.
        m_components->HidePopups();
        return false;
    }
    if (key == Qt::Key_F1) {
        m_dispatcher->ShowScreenHelp();
        return false;
    }
    // The page keys work on the document screen (or in a document window).
    THtmlFrame* html = m_components->HtmlFrame();
    if (!html || !(m_currentScreen == kDocumentScreen || m_startedWithParameters))
        return false;
    if (mods == Qt::ShiftModifier && key == Qt::Key_Z)
        ClickTreeSwitches("tree1");
    else if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_Z)
        ClickTreeSwitches("offtree");
    else if (mods == Qt::ShiftModifier && key == Qt::Key_Up) {
        program("prevchapter");
        return true;
    } else if (mods == Qt::ShiftModifier && key == Qt::Key_Down) {
        program("nextchapter");
        return true;
    } else if (mods == Qt::ShiftModifier && key == Qt::Key_Home)
        program("1");
    else if (mods == Qt::ControlModifier && key == Qt::Key_I)
        m_components->AddToFavorites();
    else if (mods == Qt::ControlModifier && key == Qt::Key_P)
        html->PrintPage();
    else if (mods == Qt::ControlModifier && key == Qt::Key_A)
        html->SelectAll();
    // Shift+T (thesaurus) and Ctrl+F (the search page) belong to windows
    // that plug in later.
    return false;
}

void TMainForm::ClickTreeSwitches(std::string_view command) {
    // A left click on each switch that shows or hides the tree, as the
    // mouse would give it; the positions are taken first, since a click may
    // rebuild the screen.
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s >= m_description.Switches.size())
        return;
    std::vector<QPoint> points;
    for (const RSwthOne& sw : m_description.Switches[s])
        if (AnsiSameText(sw.CommandUp, command) || AnsiSameText(sw.CommandDown, command))
            points.emplace_back(sw.Left + 1, sw.Top + 1);
    const int screen = m_currentScreen;
    for (const QPoint p : points) {
        if (m_currentScreen != screen)
            break;
        FormMouseDown(Qt::LeftButton, Qt::NoModifier, p);
        FormMouseUp(p);
    }
}

void TMainForm::ShowHelpTopic(const std::string& topic) {
    if (OnHelpTopic)
        OnHelpTopic(topic);
}

// ----------------------------------------------------------- drag and drop

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    FinishStartup();
    const auto urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    std::string file = FromNativePath(urls.first().toLocalFile().toStdString());
    file = file.substr(0, 199);
    m_components->OpenDroppedFile(LowerLatin(file));
}

// ------------------------------------------------------------------ closing

void TMainForm::Exit(TElementKind kind, int index) {
    if (kind == TElementKind::Button)
        m_exitButton = index;
    WindowHandle handle;
    if (FindTopWindowByTitle(m_title, handle))
        TWindowDirectory::CloseWindow(handle);
    else
        close();
}

void TMainForm::Minimize(TElementKind kind, int index) {
    showMinimized();
    if (kind == TElementKind::Button && index >= 0) {
        m_elements.Forget(kind, index);
        m_skin->CancelFade(kind, index);
        update();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FinishStartup();
    if (m_mode != TRunMode::Skinned) {
        // A document, help or thesaurus window is the whole process.
        event->accept();
        QApplication::quit();
        return;
    }
    if (m_startedWithParameters) {
        event->accept();
        return;
    }
    event->ignore();
    if (!IsAnimating())
        ClosingStep();
}

void TMainForm::ClosingStep() {
    CloseOtherWindows(m_title, m_startedWithParameters);
    if (TFormOptions* options = m_components->Options(); options && options->isVisible())
        options->close();
    m_animator->Close(width(), height(), [this] {
        hide();
        QApplication::quit();
    });
}

} // namespace carmanual
