// Pads the bare dialog to about bootfetch's size with bytes that nothing
// reads: a loader that maps the program never touches them, one that copies
// the program copies them at every start. They go into the code, bootfetch's
// largest section: Wine maps a section that happens to begin at a page in
// the file even where the file alignment is 512, and the code, right after
// the headers, never does.
#define PADDING_TEXT(bytes) #bytes
#define PADDING_BYTES(bytes) PADDING_TEXT(bytes)

asm(".section .text$padding,\"xr\"\n"
    ".fill " PADDING_BYTES(IMAGE_PADDING_BYTES) ", 1, 0x5a\n"
    ".text\n");
