DrawText.o: DrawText.ino \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/Arduino.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/binary.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/WCharacter.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/WString.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/HardwareSerial.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/Stream.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/Print.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/Printable.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/USBAPI.h \
 /usr/share/arduino/hardware/arduino/avr/cores/arduino/Arduino.h \
 /usr/share/arduino/hardware/arduino/avr/variants/standard/pins_arduino.h \
 /work/main/device/romfont/src/romfont.h shinonome_subset.h
