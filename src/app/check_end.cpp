#include "app/check_end.h"

#include "app/check_mode.h"

namespace quorlet {

CheckEndActions PlanCheckEnd(const CheckEndState& state, const MainSettings& settings) {
    CheckEndActions actions;
    const bool listsFiltered = state.filteredMail && settings.m_iRadio == 1;
    if (state.newMail) {
        actions.showList = !state.listVisible;
        // Blink only when nothing else will show the user the mail: the window is out of sight,
        // it will not pop up, and the preview will not open by itself.
        actions.startBlink = !state.windowVisible && !settings.m_bHint && !listsFiltered;
        actions.showModeIcon = !actions.startBlink;
        actions.playSound = settings.m_bSound && !settings.m_strSoundFile.empty();
        actions.popUpWindow = settings.m_bHint;
        actions.startMailProgram = settings.m_bMailp;
    } else {
        actions.showModeIcon = true;
    }
    actions.rearmMinutes = AutoCheckRearm(state.autoMode, settings.m_strTimeInterval);
    if (state.filteredMail) {
        actions.openPreview = listsFiltered;
        actions.askDeleteFiltered = !listsFiltered;
    }
    return actions;
}

}  // namespace quorlet
