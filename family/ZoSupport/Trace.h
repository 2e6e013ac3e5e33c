// The trace mask: which kinds of diagnostic output are wanted.
#pragma once

// Sets the mask; answers the previous one. Safe from any thread.
unsigned long SetTraceMask(unsigned long mask);
