#pragma once
// The offscreen platform warns about every raise and keyboard grab it cannot do. Those lines
// are dropped so that real warnings stand out; everything else reaches the test log.

void FilterOffscreenWarnings();
