// The window classes the layer provides to every module: menus, dialogs
// and the standard controls. They are registered with the class table.
#pragma once

class WindowClassTable;

void RegisterSystemClasses(WindowClassTable& table);
