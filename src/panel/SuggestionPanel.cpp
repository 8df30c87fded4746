#include "panel/SuggestionPanel.h"

#include "editor/CaptureTextView.h"
#include "panel/CompletionList.h"
#include "platform/CompositingManager.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QVBoxLayout>

namespace quillor {

namespace {
constexpr qreal cornerRadius = 10;
} // namespace

// A tool tip window: the window manager leaves it alone and Qt never asks to
// activate it, even on a click; a pop-up would grab the keyboard.
SuggestionPanel::SuggestionPanel(AppModel& model, CaptureTextView& editor)
    : QWidget(&editor, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("suggestionPanel"));
    setWindowTitle(QStringLiteral("Quillor suggestions"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    // Tool tips take the tool tip colours otherwise.
    setPalette(editor.window()->palette());
    m_list = new CompletionList(model, [view = QPointer<CaptureTextView>(&editor)](int index) {
        if (view)
            view->chooseCompletion(index);
    }, this);
    // The window's height is the rows' (set by whoever places it): the
    // list's own minimum, a scroll area's, would hold one row 68 high.
    m_list->setSizePolicy(m_list->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
}

void SuggestionPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor background = palette().color(QPalette::Window);
    // Without a compositing manager the clear corners would come out black.
    if (!CompositingManager::isRunning()) {
        painter.fillRect(rect(), background);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QPainterPath body;
    body.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(body, background);
}

} // namespace quillor
