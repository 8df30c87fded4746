#pragma once

#include <QString>
#include <QKeyEvent>
#include <QWidget>

#include <functional>
#include <optional>

namespace quillor {

// A hot key as the recorder read it, in the stored encoding: the virtual key
// code, the modifier mask (control 0x1000, option 0x800, shift 0x200, command
// 0x100) and the label "⌃⌥⇧⌘" + key name.
struct RecordedShortcut {
    quint32 code = 0;
    quint32 modifiers = 0;
    QString label;

    bool operator==(const RecordedShortcut&) const = default;
};

namespace ShortcutRecording {

// What one key press means while recording.
struct Outcome {
    enum Kind { ignored, cancelled, recorded };
    Kind kind = ignored;
    RecordedShortcut shortcut;

    bool operator==(const Outcome&) const = default;
};

// Escape cancels whatever the modifiers. A modifier pressed alone, a press
// without Control, Alt or Super, or a key the stored encoding has no code for
// is ignored. `keysym` is the symbol the key carries without modifiers (0
// when unknown); Super is Qt's Meta, and AltGr does not count as Alt.
Outcome interpret(int key, Qt::KeyboardModifiers modifiers, quint32 keysym);

} // namespace ShortcutRecording

// The field that stands in for the hot-key button while the user records a
// new combination. It exists only while recording: its creation reports
// recordingChanged(true) (the global hot key is then suspended, so the same
// combination can be pressed again) and its destruction recordingChanged(false).
// It takes the window's shortcuts (Ctrl+Q, Ctrl+,) and Tab as keys to record.
class ShortcutRecorder : public QWidget {
    Q_OBJECT

public:
    // The unshifted key symbol of a key press (by its X keycode).
    using KeysymLookup = std::function<quint32(const QKeyEvent& event)>;

    // `recorded` gets a combination, or nothing when the user cancelled.
    ShortcutRecorder(std::function<void(bool)> recordingChanged,
                     std::function<void(const std::optional<RecordedShortcut>&)> recorded,
                     QWidget* parent = nullptr);
    ~ShortcutRecorder() override;

    // Replaces the X keyboard map lookup (tests on the offscreen platform);
    // an empty function restores it.
    static void setKeysymLookup(KeysymLookup lookup);

    QSize sizeHint() const override { return {180, 28}; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(bool)> m_recordingChanged;
    std::function<void(const std::optional<RecordedShortcut>&)> m_recorded;
    bool m_done = false;
};

} // namespace quillor
