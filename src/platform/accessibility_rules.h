// Inside the accessibility layer only: rules that hold for every window of
// the program once installed (dialog role, message-box names). Installed
// by the first call into the layer, which every window makes.
#pragma once

namespace a11y {

void InstallWindowRules();

// Text fields report attribute runs in whole characters (see the .cpp).
void RepairEntryRuns();

}  // namespace a11y
