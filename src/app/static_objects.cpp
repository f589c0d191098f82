/*
 * The program's static objects, defined in one place so that they are built in this
 * order: the lead-byte table, the error state, the resource library holder and the
 * translation table. They are destroyed in the reverse order, so the translation table
 * goes first and the resource library is released last.
 */
#include "support/paths.h"
#include "support/system.h"
#include "support/error_state.h"
#include "lang/resource_module.h"
#include "lang/language_text.h"

MbcsLeadTable LeadTable = AnsiCodePageLeadTable();
ErrorState Errors;
ExtResource ResourceLibrary;
LanguageResources Language;
