// Fuzz target of the message catalogue reader: any bytes are read as a .mo file and, when it
// loads, its messages, contexts and plural forms are looked up; every answer must lie inside
// the catalogue's bytes and end with a NUL there (AddressSanitizer reports any other read).
#include "text/MoCatalog.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brimwell::MoCatalog catalogue;
    if (!catalogue.Load(std::string(reinterpret_cast<const char*>(data), size))) {
        return 0;
    }
    for (const char* msgid : {"A", "Welcome", "%u byte sent", ""}) {
        if (const char* text = catalogue.Find(msgid)) {
            (void)std::strlen(text);
        }
        if (const char* text = catalogue.Find(msgid, "button")) {
            (void)std::strlen(text);
        }
        for (unsigned long n : {0ul, 1ul, 2ul, 5ul, 11ul, 22ul, 101ul, 4294967295ul}) {
            if (const char* text = catalogue.FindPlural(msgid, n)) {
                (void)std::strlen(text);
            }
            if (catalogue.PluralForm(n) >= catalogue.PluralCount()) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
