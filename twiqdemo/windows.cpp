// Anchor of the demo's window-definition library (the definitions live in windows/).
namespace twiqdemo {
int windows_library_anchor = 0;
}  // namespace twiqdemo
