#pragma once

// Installs the built-in English catalogue (resource 201) as the process-wide
// translator. Failures are silent: dialogs then keep their resource texts.
void LoadBuiltInLanguage();

// The same on a thread of its own, so that the catalogue loads while the
// program sets up and creates its dialog; it runs in place when no thread can
// be started. The thread leaves the XML library up until the program ends.
// Nothing may look a text up before WaitForBuiltInLanguage.
void StartLoadingBuiltInLanguage();
// Returns once the catalogue that StartLoadingBuiltInLanguage began is
// installed or has failed; at once when there is none.
void WaitForBuiltInLanguage();
