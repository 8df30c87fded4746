#pragma once

#include "core/TextRange.h"
#include "model/EditorContent.h"
#include "model/ModelTypes.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

// The capture editor as the model reaches it when it edits the text itself
// (accepting a completion). The editor implements it; keeping the model on
// this side of it lets the model run, and be tested, without any widget.
class EditorSurface {
public:
    virtual ~EditorSurface() = default;

    // The editor's whole text, images as U+FFFC.
    virtual QString text() const = 0;
    virtual TextRange selectedRange() const = 0;

    // The one undoable edit path. Does nothing when `range` ends beyond the
    // text or the editor refuses the change. Otherwise replaces the range,
    // applies `destination` through AppModel::applyDestinationSelection when
    // given, puts the caret at `cursor` (after the inserted text when absent)
    // and registers one undo step named `actionName`. The editor hands the new
    // text to AppModel::updateContent itself, and when a destination was given
    // also calls AppModel::saveDraftInBackground.
    virtual void replaceUndoably(TextRange range, const EditorContent& replacement, std::optional<qsizetype> cursor,
                                 const QString& actionName,
                                 const std::optional<DestinationSelection>& destination) = 0;

protected:
    EditorSurface() = default;
    EditorSurface(const EditorSurface&) = default;
    EditorSurface& operator=(const EditorSurface&) = default;
};

} // namespace quillor
