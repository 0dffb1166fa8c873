// SPDX-License-Identifier: GPL-3.0-or-later
// Anchor for the test support library; the fixtures live beside it.
namespace orgalink::testsupport {}
