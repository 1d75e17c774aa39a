#include "console/pagenavigation.h"

namespace PageNavigation {

Action forKey(Stage stage, int key, Qt::KeyboardModifiers modifiers)
{
    if (stage == Stage::Search)
        return Action::None;
    // Arrow and function keys may come flagged as keypad keys.
    modifiers &= ~Qt::KeypadModifier;
    if (key == Qt::Key_Left && modifiers == Qt::AltModifier)
        return Action::Back;
    if (modifiers != Qt::NoModifier)
        return Action::None;
    if (key == Qt::Key_Escape && stage == Stage::Loading)
        return Action::Back;
    if (key == Qt::Key_F5 && stage == Stage::Console)
        return Action::Reload;
    return Action::None;
}

Action forMouseButton(Stage stage, Qt::MouseButton button)
{
    return stage != Stage::Search && button == Qt::BackButton ? Action::Back : Action::None;
}

}  // namespace PageNavigation
