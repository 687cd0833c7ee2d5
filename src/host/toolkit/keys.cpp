#include "host/toolkit/keys_internal.h"

namespace host {

namespace {

// Win32's virtual keys of the function keys F1 to F24.
constexpr int kVirtualF1 = 0x70;
constexpr int kFunctionKeys = 24;

} // namespace

int virtualKeyOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey; // Qt's codes for these keys are their Win32 virtual keys
    }
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeys) {
        return kVirtualF1 + (qtKey - Qt::Key_F1);
    }
    return 0;
}

QKeySequence keySequenceOf(const Shortcut& key)
{
    int qtKey = 0;
    if ((key.virtualKey >= Qt::Key_A && key.virtualKey <= Qt::Key_Z) ||
        (key.virtualKey >= Qt::Key_0 && key.virtualKey <= Qt::Key_9)) {
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
