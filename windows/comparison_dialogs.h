// The plot window's comparison items: View > "Smooth ...", and the "Tools"
// menu's "Find Velocities ...", "Divide ..." and "Subtract ...". Their
// dialogs only gather the choices; app/ does the work.
#pragma once

#include "app/ui_hooks.h"
#include "store/workspace.h"

class QMainWindow;
class QMenu;
class QWidget;

namespace wendrel {

// Adds "Smooth ..." to `view` and the Tools menu to the window's menu bar.
void AddComparisonMenus(QMainWindow* window, QMenu* view, Workspace& ws, UiHooks& ui);

void AskSmoothing(QWidget* parent, Workspace& ws, UiHooks& ui);
void AskCombination(QWidget* parent, Workspace& ws, UiHooks& ui, RowCombination kind);
void RunFindVelocities(QWidget* parent, Workspace& ws, UiHooks& ui);

}  // namespace wendrel
