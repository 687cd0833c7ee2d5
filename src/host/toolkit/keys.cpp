#include "host/toolkit/keys_internal.h"

namespace host {

namespace {

// Win32's virtual keys of the function keys F1 to F24.
constexpr int kVirtualF1 = 0x70;
constexpr int kFunctionKeys = 24;

// Letters and digits: Qt's codes for these keys are their Win32 virtual keys.
bool isLetterOrDigit(int key)
{
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}

} // namespace

int virtualKeyOf(int qtKey)
{
    if (isLetterOrDigit(qtKey)) {
        return qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeys) {
        return kVirtualF1 + (qtKey - Qt::Key_F1);
    }
    return 0;
}

QKeySequence keySequenceOf(const Shortcut& key)
{
    int qtKey = 0;
    if (isLetterOrDigit(key.virtualKey)) {
        qtKey = key.virtualKey;
    } else if (key.virtualKey >= kVirtualF1 && key.virtualKey < kVirtualF1 + kFunctionKeys) {
        qtKey = Qt::Key_F1 + (key.virtualKey - kVirtualF1);
    }
    if (qtKey == 0) {
        return {};
    }
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ControlModifier, key.control);
    modifiers.setFlag(Qt::ShiftModifier, key.shift);
    modifiers.setFlag(Qt::AltModifier, key.alt);
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(qtKey)));
}

} // namespace host
