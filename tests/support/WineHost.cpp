#include "Wine.h"

namespace testsupport {

bool RunningUnderWine() {
    return false;
}

} // namespace testsupport
