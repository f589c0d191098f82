# The byte-level modules: free of <windows.h>, built for Windows with the rest and also
# natively, where their tests run under AddressSanitizer and UndefinedBehaviorSanitizer.
set(ZELKOR_BYTELEVEL_SOURCES
    src/support/paths.cpp
    src/support/error_state.cpp
    src/support/text_format.cpp
    src/lang/crc32.cpp
    src/lang/language_text.cpp
    src/lang/dialog_scale.cpp
    src/app/switches.cpp
    src/app/list_entry.cpp
    src/app/removal_script.cpp
    src/shell/archive_templates.cpp
)
