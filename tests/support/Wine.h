// Where a test runs: Wine differs from Windows in a few places that tests mark, with the reason.
#pragma once

namespace testsupport {

// True when the Windows build runs under Wine; false on Windows itself and on the host build.
bool RunningUnderWine();

} // namespace testsupport
