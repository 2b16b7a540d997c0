#pragma once

// WOFF2's Brotli compression (quality 11) allocates and frees buffers of
// tens of megabytes on the generation's worker thread. In glibc's
// per-thread arenas, which give such memory back to the system each time,
// that costs about a third more time than in the main arena; with one arena
// for the whole process the compression runs as fast as woff2_compress.
// Both programs call this first thing in main, before any thread exists.
void useSingleMallocArena();
