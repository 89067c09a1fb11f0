#pragma once

// Installs the built-in English catalogue (resource 201) as the process-wide
// translator. Failures are silent: dialogs then keep their resource texts.
void LoadBuiltInLanguage();
