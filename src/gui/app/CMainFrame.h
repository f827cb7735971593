#pragma once

#include "gui/app/WindowKinds.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

class Ccomview;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class ViewCommandTarget;

// The main window: menu bar, toolbar, macro bar, status bar and the area holding the child windows.
// There is one QAction per command id; triggering it runs the command bound in the registry, and one
// function (UpdateCommandStates) sets every action's enabled and checked state from the registry.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Marlix7";

    CMainFrame();
    ~CMainFrame() override;

    QAction* action(int id) const;
    // Re-evaluates every command: enabled state, check marks, the status panes and the refresh hooks.
    void UpdateCommandStates();
    // Runs at every UpdateCommandStates (the macro bar's button texts, for example).
    void AddRefreshHook(std::function<void()> hook);

    // The macro bar: a fixed row at the top holding ten buttons, ids ID_MACRO_BUTTON_FIRST + i.
    QToolBar* macroBar() const { return m_macroBar; }
    QAction* macroButton(int i) const;
    QToolBar* toolBar() const { return m_toolBar; }

    QMdiArea* mdiArea() const { return m_mdi; }
    WindowKinds& windowKinds() { return m_kinds; }
    // Opens the terminal window on the communication document (brings it up when it is open).
    void OpenCommWindow();
    Ccomview* terminal() const;
    // The active child window's view when it handles commands itself.
    ViewCommandTarget* ActiveViewTarget() const;
    QMdiSubWindow* currentWindow() const;

    // "Winpos"/"MainFrame".
    void SavePlacement() const;
    // Applies a remembered placement and shows the window; false (and nothing applied) without one.
    bool RestorePlacement();

    void TileHorizontally();
    void TileVertically();

    // The link's state: "Simulated", the device and baud rate, or "Not open" (drawn to stand out).
    QLabel* linkPane() const { return m_linkPane; }
    QLabel* settingsPane() const { return m_settingsPane; }
    QLabel* projectPane() const { return m_projectPane; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildMacroBar();
    void BuildStatusBar();
    QAction* MakeAction(int id, const char* text, const char* prompt, const char* shortcut);
    void RunCommand(int id);
    void RefreshStatusPanes();
    void FillWindowList(QMenu* menu);
    void FillRecentFiles(QMenu* menu);
    bool CloseChildWindows();

    QMdiArea* m_mdi;
    WindowKinds m_kinds;
    std::map<int, QAction*> m_actions;
    QToolBar* m_toolBar = nullptr;
    QToolBar* m_macroBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_linkPane = nullptr;
    QLabel* m_settingsPane = nullptr;
    QLabel* m_projectPane = nullptr;
    QLabel* m_capsPane = nullptr;
    bool m_capsLock = false;
    std::vector<std::function<void()>> m_refreshHooks;
    std::vector<QAction*> m_windowListActions;
    std::vector<QAction*> m_recentFileActions;
};
