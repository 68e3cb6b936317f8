#pragma once

namespace zeb::cli {

// Ctrl-C asks zebscore to stop between two logs rather than at once, so that the file being
// written is finished (or abandoned by its writer) and no temporary or partial file stays.
void stopOnInterrupt();

bool interruptRequested();

}  // namespace zeb::cli
