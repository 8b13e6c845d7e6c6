// The static libxml2 archive is built to ask ICU for an encoding that the C library's iconv
// does not know, through the seven converter functions below. Linking ICU for them would put
// its 31 MB of conversion data into the gateway. glibc's iconv already knows every encoding an
// option file is written in (UTF-8, UTF-16, Shift_JIS, EUC-JP, ISO-2022-JP, the Windows code
// pages), so here ICU answers that it has no converter: a file in an encoding that iconv does
// not know is refused as any unloadable option file is, with "Can't Load Option File".
//
// libxml2 only converts through a converter that ucnv_open returned; none ever is, so the
// other functions are never reached. They fail safely should that change.
#include <unicode/ucnv.h>

U_CAPI UConverter* U_EXPORT2 ucnv_open(const char* /*converterName*/, UErrorCode* err) {
  if (err != nullptr) *err = U_FILE_ACCESS_ERROR;  // what ICU says for a converter it lacks
  return nullptr;
}

U_CAPI void U_EXPORT2 ucnv_close(UConverter* /*converter*/) {}

U_CAPI void U_EXPORT2 ucnv_convertEx(UConverter* /*targetCnv*/, UConverter* /*sourceCnv*/,
                                     char** /*target*/, const char* /*targetLimit*/,
                                     const char** /*source*/, const char* /*sourceLimit*/,
                                     UChar* /*pivotStart*/, UChar** /*pivotSource*/,
                                     UChar** /*pivotTarget*/, const UChar* /*pivotLimit*/,
                                     UBool /*reset*/, UBool /*flush*/, UErrorCode* pErrorCode) {
  if (pErrorCode != nullptr) *pErrorCode = U_INVALID_STATE_ERROR;
}

U_CAPI void U_EXPORT2 ucnv_setToUCallBack(UConverter* /*converter*/,
                                          UConverterToUCallback /*newAction*/,
                                          const void* /*newContext*/,
                                          UConverterToUCallback* /*oldAction*/,
                                          const void** /*oldContext*/, UErrorCode* err) {
  if (err != nullptr) *err = U_INVALID_STATE_ERROR;
}

U_CAPI void U_EXPORT2 ucnv_setFromUCallBack(UConverter* /*converter*/,
                                            UConverterFromUCallback /*newAction*/,
                                            const void* /*newContext*/,
                                            UConverterFromUCallback* /*oldAction*/,
                                            const void** /*oldContext*/, UErrorCode* err) {
  if (err != nullptr) *err = U_INVALID_STATE_ERROR;
}

// The callbacks libxml2 installs, which stop at the first character a converter cannot take.
U_CAPI void U_EXPORT2 UCNV_FROM_U_CALLBACK_STOP(const void* /*context*/,
                                                UConverterFromUnicodeArgs* /*fromUArgs*/,
                                                const UChar* /*codeUnits*/, int32_t /*length*/,
                                                UChar32 /*codePoint*/,
                                                UConverterCallbackReason /*reason*/,
                                                UErrorCode* /*err*/) {}

U_CAPI void U_EXPORT2 UCNV_TO_U_CALLBACK_STOP(const void* /*context*/,
                                              UConverterToUnicodeArgs* /*toUArgs*/,
                                              const char* /*codeUnits*/, int32_t /*length*/,
                                              UConverterCallbackReason /*reason*/,
                                              UErrorCode* /*err*/) {}
