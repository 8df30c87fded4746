#pragma once

#include "updates/ReleaseNotesPresenter.h"

#include <QDialog>
#include <QUrl>

#include <functional>

class QCloseEvent;
class QPushButton;
class QWidget;

namespace quillor {

// Opens a link outside the program (the browser downloads the installer, or
// the software centre opens); false when no handler could be started.
using OpenUrl = std::function<bool(const QUrl&)>;

// The release notes: a title, the installed version, the releases with their
// dates and note lines, and, when a release is offered, how to install it.
// It never closes itself: every way out (Escape, "Fermer", the title bar, a
// successful install) asks through closeRequested, and its owner hides it.
class ReleaseNotesDialog : public QDialog {
    Q_OBJECT
public:
    ReleaseNotesDialog(const ReleaseNotes& notes, OpenUrl openUrl, QWidget* parent = nullptr);

    static constexpr int width = 560;
    static constexpr int height = 520;

Q_SIGNALS:
    void closeRequested();

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* releaseList() const;
    QWidget* buttonRow();
    void install();

    ReleaseNotes m_notes;
    OpenUrl m_openUrl;
};

// Shows one release-notes dialog at a time for the update checker.
class ReleaseNotesDialogPresenter : public ReleaseNotesPresenter {
public:
    // Without an opener, links go to QDesktopServices::openUrl.
    explicit ReleaseNotesDialogPresenter(OpenUrl openUrl = {});
    // Drops an open dialog without reporting it closed: the checker that
    // owns this presenter is going away.
    ~ReleaseNotesDialogPresenter() override;

    void show(const ReleaseNotes& notes, std::function<void()> closed) override;
    bool isOpen() const override { return m_dialog != nullptr; }
    void close() override;

    ReleaseNotesDialog* dialog() const { return m_dialog; }

private:
    OpenUrl m_openUrl;
    ReleaseNotesDialog* m_dialog = nullptr;
    std::function<void()> m_closed;
};

} // namespace quillor
