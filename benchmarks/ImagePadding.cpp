// Pads the bare dialog to about bootfetch's size with data that nothing
// reads: a loader that maps the program never touches it, one that copies
// the program copies it at every start.
#define PADDING_TEXT(bytes) #bytes
#define PADDING_BYTES(bytes) PADDING_TEXT(bytes)

asm(".section .rdata$padding,\"dr\"\n"
    ".fill " PADDING_BYTES(IMAGE_PADDING_BYTES) ", 1, 0x5a\n"
    ".text\n");
