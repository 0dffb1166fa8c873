// Anchor for the test support library; the fixtures live beside it.
namespace orgalink::testsupport {}
