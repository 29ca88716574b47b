#include "Events.h"
#include "MessageQueue.h"
#include "WindowTable.h"
#include "hostui/HostUi.h"

namespace hostui {

void ResetTray();

void ResetUi() {
    {
        std::lock_guard<std::recursive_mutex> lock(detail::TableMutex());
        detail::AllWindows().clear();
    }
    detail::ResetQueues();
    detail::RemoveProgramClasses();
    ResetTray();
    ClearAnswers();
    ClearEvents();
}

} // namespace hostui
