/*
 * The static objects of the byte-level modules for the native build. The lead-byte table
 * starts as a single-byte code page; tests that need another fill it themselves.
 */
#include "support/paths.h"
#include "support/error_state.h"
#include "lang/language_text.h"

MbcsLeadTable LeadTable = {};
ErrorState Errors;
LanguageResources Language;
