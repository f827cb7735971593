#pragma once

#include "core/base/UiSeam.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class CMainFrame;
class Cinform;
class QWidget;

// The screen as the core sees it in the running program: message boxes captioned "Orlanek Robot
// System", the wait box, the Qt event loop for waits, and the queued refresh of the main window's
// commands.
class QtUi : public QObject, public UiSeam {
    Q_OBJECT
public:
    static const char* const kCaption;

    QtUi();
    ~QtUi() override;

    // The main window: parent of message boxes, dialogs and the wait box, target of the command refresh
    // and the opener of child windows.
    void Attach(CMainFrame* frame);

    void ShowMessage(const std::string& text) override;
    Answer AskYesNo(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text) override;
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override;
    void CloseWaitBox() override;
    void SetProgress(int done, int total) override;
    void SetWaitText(const std::string& text) override;
    bool PumpMessages() override;
    bool WaitForEvent() override;
    void KickIdle() override;
    void Beep() override;
    void OpenCommWindow() override;
    void OpenRouteEditorWindow() override;
    std::string AskOpenFileName(const std::string& title, const std::string& filter,
                                const std::string& defaultExt, const std::string& startPath) override;
    std::string AskSaveFileName(const std::string& title, const std::string& filter,
                                const std::string& defaultExt, const std::string& startPath) override;
    bool AskName(std::string& name, const std::string& title) override;
    bool AskRouteFunction(std::string& word, int& parameter) override;
    bool AskContourFunction(int& code, double& a, double& b) override;

    Cinform* waitBox();
    bool quitting() const { return m_quitting; }
    void SetQuitting() { m_quitting = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunKick();

    QPointer<CMainFrame> m_frame;
    QPointer<Cinform> m_waitBox;
    bool m_kickQueued = false;
    // The refresh runs at most about 60 times a second, however many replies complete.
    static constexpr int kKickIntervalMs = 16;
    QElapsedTimer m_sinceKick;
    bool m_quitting = false;
};
