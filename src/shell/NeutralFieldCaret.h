#pragma once

namespace quillor {

// The caret of the program's editable text fields in the ordinary text
// colour. Qt's line and text edits draw their caret by inverting the pixels
// under it, which whatever the palette gives black on a light field and next
// to nothing on a mid-grey one; so, once a field takes the focus, its own
// caret is turned off and this one, of the stock width, is painted over it,
// blinking at the desktop's rate, hidden without focus or over a selection.
// The capture editor paints its own caret and is left alone.
namespace NeutralFieldCaret {

// Installs the application-wide observer once; it lasts for the run.
void observeEditing();

} // namespace NeutralFieldCaret
} // namespace quillor
