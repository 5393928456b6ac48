#pragma once

// Makes the calling thread yield CPU and disk to everything else in the session: the
// background threads sum whole disks while the user keeps working.
void LowerCurrentThreadPriority();
