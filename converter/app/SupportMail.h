#pragma once
// Opens a new mail to the maker's support address, about this program and version.
void ComposeSupportMail();
