#pragma once

#include <QMainWindow>

#include "core/workspace/workspace.h"

class QAction;
class QLabel;
class QTimer;
class QToolBar;

namespace zephalo::gui {

class CQuarlenView;

// The main window: caption "ZEPHALO", the "表示(&V)", "言語(&L)" and "ヘルプ(&H)" menus,
// a tool bar with the About button and a status bar with "レディ" and the
// keyboard indicators. Tool bar and status bar start hidden.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(core::Workspace workspace, QWidget* parent = nullptr);

    CQuarlenView* view() const { return m_view; }
    QToolBar* toolBar() const { return m_toolBar; }
    QAction* toolBarAction() const { return m_toolBarAction; }
    QAction* statusBarAction() const { return m_statusBarAction; }
    QAction* aboutAction() const { return m_aboutAction; }

public slots:
    void showAbout();

private:
    void createMenus();
    void createBars();
    void createLanguageMenu();
    void updateIndicators();

    CQuarlenView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QAction* m_toolBarAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QLabel* m_capsIndicator = nullptr;
    QLabel* m_numIndicator = nullptr;
    QLabel* m_scrollIndicator = nullptr;
    QTimer* m_indicatorTimer = nullptr;
};

}  // namespace zephalo::gui
