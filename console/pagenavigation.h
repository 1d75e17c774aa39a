#pragma once

#include <Qt>

// Which keys and mouse buttons move between the main content's pages, the
// way a desktop program's back and reload keys do.
namespace PageNavigation {

// The page the user is on, or is being taken to.
enum class Stage { Search, Loading, Console };

enum class Action { None, Back, Reload };

// Esc leaves the loading page; Alt+Left leaves the loading page and the
// console; F5 reloads the console. Esc stays the console page's own.
Action forKey(Stage stage, int key, Qt::KeyboardModifiers modifiers);

// The mouse's back button leaves the loading page and the console.
Action forMouseButton(Stage stage, Qt::MouseButton button);

}  // namespace PageNavigation
