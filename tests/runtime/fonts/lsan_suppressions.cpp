// fontconfig loses a few hundred bytes while parsing its configuration files at FcInit (the
// allocation is made and dropped inside the library, before any of our calls returns). It is
// not a leak of ours and nothing outside the library can free it. LeakSanitizer asks the
// executable for these suppressions, so the hook must be exported despite the build's hidden
// visibility default.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
