#include "browsing/CommandStates.h"

namespace vorbix {

CommandStates UpdateCommandStates(bool rowSelected, const std::string& emulatorSelectorText)
{
    CommandStates states;
    states.RunEmulator = !emulatorSelectorText.empty();
    states.RunProgram = rowSelected && states.RunEmulator;
    states.EditProgram = rowSelected;
    states.DeleteProgram = rowSelected;
    return states;
}

} // namespace vorbix
