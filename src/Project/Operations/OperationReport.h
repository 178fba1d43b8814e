#pragma once

#include <string>

// What an operation tells the project while it runs. Operations see only the project data;
// these reach the process-wide project, and do nothing while there is none.
namespace Project {

// The key of a failure without a more precise text.
inline constexpr const wchar_t* kGenericError = L"ERROR.GENERIC";

// Stores the localization key as the project's last error, for the project to report when
// the operation returns false, and returns false.
bool failOperation(const std::wstring& key);

// Tells the project's listeners that selection flags are about to change.
void reportSelectionChanging();

}  // namespace Project
