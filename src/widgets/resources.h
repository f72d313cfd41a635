#pragma once
// The embedded ThirdPartyResources tree lives in the static gui library, so the
// program and every test that shows it call this once after creating the
// application object. Calling it again does nothing.

void initResources();
