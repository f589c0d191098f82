/*
 * The static objects the byte-level translation code refers to, for the fuzz target.
 */
#include "support/error_state.h"
#include "support/paths.h"
#include "lang/language_text.h"

MbcsLeadTable LeadTable = {};
ErrorState Errors;
LanguageResources Language;
