/* rom.S: the whole font ROM (FONTINDEX.BIN and FONTDATA.BIN, as maskburn writes them) linked into the
   firmware as constant arrays, so they sit in flash and romfont reads them in place.

   The assembler copies each file byte for byte with .incbin; it finds them through the include path, so
   build with -I (or -Wa,-I) naming the folder that holds them. C code sees:

       extern const uint8_t fontindex_bin[];   extern const uint32_t fontindex_bin_size;
       extern const uint8_t fontdata_bin[];    extern const uint32_t fontdata_bin_size;

   The sizes are taken from the files at build time, so a new ROM needs no change here.

   Assembled with -DBARE_METAL_IMAGE, it links in FONTIMAGE.BIN (a burnable image, as maskburn-image writes
   it) instead, as  extern const uint8_t fontimage_bin[];  extern const uint32_t fontimage_bin_size;  */

        .syntax unified

#ifdef BARE_METAL_IMAGE
        .section .rodata.fontimage_bin, "a"
        .balign 4
        .global fontimage_bin
        .type   fontimage_bin, %object
fontimage_bin:
        .incbin "FONTIMAGE.BIN"
fontimage_bin_end:
        .size   fontimage_bin, fontimage_bin_end - fontimage_bin

        .section .rodata.font_sizes, "a"
        .balign 4
        .global fontimage_bin_size
        .type   fontimage_bin_size, %object
fontimage_bin_size:
        .word   fontimage_bin_end - fontimage_bin
        .size   fontimage_bin_size, 4
#else

        /* .rodata sections: read-only, placed in flash by the linker script. */
        .section .rodata.fontindex_bin, "a"
        .balign 4
        .global fontindex_bin
        .type   fontindex_bin, %object
fontindex_bin:
        .incbin "FONTINDEX.BIN"
fontindex_bin_end:
        .size   fontindex_bin, fontindex_bin_end - fontindex_bin

        .section .rodata.fontdata_bin, "a"
        .balign 4
        .global fontdata_bin
        .type   fontdata_bin, %object
fontdata_bin:
        .incbin "FONTDATA.BIN"
fontdata_bin_end:
        .size   fontdata_bin, fontdata_bin_end - fontdata_bin

        /* The sizes in bytes, as 32-bit words next to the images. */
        .section .rodata.font_sizes, "a"
        .balign 4
        .global fontindex_bin_size
        .type   fontindex_bin_size, %object
fontindex_bin_size:
        .word   fontindex_bin_end - fontindex_bin
        .size   fontindex_bin_size, 4
        .global fontdata_bin_size
        .type   fontdata_bin_size, %object
fontdata_bin_size:
        .word   fontdata_bin_end - fontdata_bin
        .size   fontdata_bin_size, 4
#endif
