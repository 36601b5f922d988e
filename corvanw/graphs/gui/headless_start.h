#pragma once
// Commands that draw without a window (a plot, a report's pictures) start Qt
// the same way.

namespace corvan {

// Picks the offscreen platform unless the user chose one (fonts need a
// platform; that one needs no display) and keeps the platform's start-up
// chatter (a missing runtime folder and the like) off stderr, which is the
// command's own. Call before the application object is made.
void PrepareHeadlessQt();

}  // namespace corvan
