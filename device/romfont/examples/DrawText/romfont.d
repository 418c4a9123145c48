romfont.o: /work/main/device/romfont/src/romfont.c \
 /work/main/device/romfont/src/romfont.h
