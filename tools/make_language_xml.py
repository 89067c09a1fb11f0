#!/usr/bin/env python3
"""Writes the built-in message catalogues of bootfetch: the English one and one
per language in TRANSLATIONS.

The catalogue is shared by the whole product family, so besides the few texts
bootfetch shows it carries the menus, dialogs, tips and errors of the desktop
tools. A localized catalogue holds the same messages in the same order; the
texts of its language's table replace the English ones and every other
message stays English. The output is deterministic: same script, same bytes.

Usage: tools/make_language_xml.py              (writes every catalogue into
                                                bootfetch/resources/)
       tools/make_language_xml.py --check      (exit 1 if a committed file is stale)
       tools/make_language_xml.py --languages  (the language codes, for the build)
       tools/make_language_xml.py --translated (which messages each language translates)
"""

import os
import re
import sys

MESSAGE_COUNT = 1388

# Texts bootfetch itself looks up; they must always be present.
REQUIRED = [
    ("IDS_DOWNLOADER_ERROR",
     "Unable to download the installation package. Please check your Internet connection "
     "or firewall settings and try again."),
    ("IDS_LAUNCH_ERROR",
     "The installation package was downloaded but could not be opened.\\n\\nTo install the "
     "product, open this file:\\n{PATH}"),
    ("Download {PRODUCT}", "Download {PRODUCT}"),
    ("Cancel", "Cancel"),
    ("IDS_STATUS_CONNECTING_TO", "Connecting to {HOST}…"),
    ("IDS_STATUS_TRANSFER", "{DONE} of {TOTAL} ({SPEED}/s), about {TIME} left"),
    ("IDS_STATUS_TRANSFER_SPEED", "{DONE} of {TOTAL} ({SPEED}/s)"),
    ("IDS_STATUS_TRANSFER_START", "{DONE} of {TOTAL}"),
    ("IDS_STATUS_RECONNECT", "Connection lost. Trying again in {SECONDS} s…"),
    ("IDS_TIME_SECONDS", "{COUNT} s"),
    ("IDS_TIME_MINUTES", "{COUNT} min"),
    ("IDS_TIME_HOURS", "{COUNT} h"),
    ("IDS_PROGRESS_NAME", "Download progress"),
]

# Menu commands with mnemonics and shortcut keys; "\t" stays as backslash-t.
MENU_COMMANDS = [
    "&New\\tCtrl+N", "&Open...\\tCtrl+O", "&Save\\tCtrl+S", "Save &As...\\tF12",
    "&Print...\\tCtrl+P", "Cu&t\\tCtrl+X", "&Copy\\tCtrl+C", "&Paste\\tCtrl+V",
    "&Undo\\tCtrl+Z", "&Redo\\tCtrl+Y", "Select &All\\tCtrl+A", "&Find...\\tCtrl+F",
    "&Replace...\\tCtrl+H", "&Bold\\tCtrl+B", "&Italic\\tCtrl+I", "&Underline\\tCtrl+U",
    "New &Slide\\tCtrl+M", "&Duplicate Slide\\tCtrl+D", "&Start Slide Show\\tF5",
    "From C&urrent Slide\\tShift+F5", "Zoom &In\\tCtrl+Plus", "Zoom &Out\\tCtrl+Minus",
    "&Close\\tCtrl+W", "E&xit\\tAlt+F4", "&Help Topics\\tF1", "&Group\\tCtrl+G",
    "U&ngroup\\tCtrl+Shift+G", "Align &Left\\tCtrl+L", "C&enter\\tCtrl+E",
    "Align &Right\\tCtrl+R", "&Justify\\tCtrl+J", "Insert &Hyperlink...\\tCtrl+K",
    "&Spelling...\\tF7", "&Delete\\tDel", "Bring to &Front\\tCtrl+Shift+]",
    "Send to &Back\\tCtrl+Shift+[", "&Next Slide\\tPage Down", "&Previous Slide\\tPage Up",
    "&First Slide\\tHome", "&Last Slide\\tEnd", "&Full Screen\\tF11", "&Refresh\\tF5",
    "Increase Font Size\\tCtrl+Shift+>", "Decrease Font Size\\tCtrl+Shift+<",
    "Copy &Formatting\\tCtrl+Shift+C", "Paste F&ormatting\\tCtrl+Shift+V",
    "Paste &Special...\\tCtrl+Alt+V", "&Go to Slide...\\tCtrl+G", "Show &Ruler\\tAlt+Shift+F9",
    "Show &Guides\\tAlt+F9", "New &Window\\tCtrl+Shift+N", "&Properties\\tAlt+Enter",
]

MENUS = ["&File", "&Edit", "&View", "&Insert", "F&ormat", "&Tools", "&Slide Show",
         "&Window", "&Help", "&Arrange", "&Design", "&Review", "&Animations",
         "&Transitions", "&Table", "&Draw"]

BUTTONS = [
    "OK", "Apply", "Close", "Browse...", "Yes", "No", "Retry", "Ignore", "Help", "Next >",
    "< Back", "Finish", "Reset", "Apply to All", "Don't show this again", "Yes to All",
    "No to All", "Skip", "Continue", "Stop", "Pause", "Resume", "Details >>", "<< Details",
    "Remind me later", "Install now", "Restart now", "Restart later", "Sign In", "Sign Out",
    "Add", "Remove", "Remove All", "Move Up", "Move Down", "Edit...", "Rename...", "Preview",
    "Options...", "Defaults", "Clear", "Clear All", "Select All", "Deselect All", "Save",
    "Don't Save", "Open", "Open Read-Only", "Insert", "Replace", "Replace All", "Find Next",
    "Update", "Check for Updates", "Send", "Copy to Clipboard", "Learn more", "Try again",
    "Export", "Import", "Upload", "Download", "Share", "Print", "Record", "Play", "Rewind",
]

VERBS = ["Insert", "Delete", "Duplicate", "Copy", "Format", "Rename", "Hide", "Show",
         "Move", "Align", "Rotate", "Resize", "Lock", "Unlock", "Export", "Replace", "Select",
         "Crop", "Reset", "Animate"]

OBJECTS = ["Slide", "Shape", "Text Box", "Picture", "Table", "Chart", "Video", "Audio Clip",
           "Comment", "Section", "Layout", "Master Slide", "Hyperlink", "Animation",
           "Transition", "Speaker Notes", "Placeholder", "Row", "Column", "Cell", "Theme",
           "Guide", "Equation", "Symbol", "Icon", "Header", "Footer", "Slide Number",
           "Background", "Timeline"]

PROBLEMS = [
    ("OPEN", "opened", "the file is damaged or was created by a newer version"),
    ("SAVE", "saved", "the disk is full or the folder is write-protected"),
    ("EXPORT", "exported", "the selected format does not support it"),
    ("PASTE", "pasted", "the clipboard holds data in an unknown format"),
    ("LOAD", "loaded", "a required component is missing. Please repair the installation"),
    ("CONVERT", "converted", "it uses features that are not available in this edition"),
    ("PRINT", "printed", "no printer is installed or the printer is offline"),
    ("INSERT", "inserted", "the presentation has reached its size limit"),
]

STATUS = [
    ("IDS_STATUS_SAVING", "Saving {FILE}..."),
    ("IDS_STATUS_OPENING", "Opening {FILE}..."),
    ("IDS_STATUS_EXPORTING", "Exporting slide {NUMBER} of {COUNT}..."),
    ("IDS_STATUS_PRINTING", "Printing page {NUMBER} of {COUNT}..."),
    ("IDS_STATUS_READY", "Ready"),
    ("IDS_STATUS_SLIDE", "Slide {NUMBER} of {COUNT}"),
    ("IDS_STATUS_ZOOM", "Zoom: {PERCENT}%"),
    ("IDS_STATUS_RECOVERED", "{COUNT} files were recovered.\\nSave the ones you want to keep."),
    ("IDS_STATUS_AUTOSAVE", "AutoRecover information saved at {TIME}."),
    ("IDS_STATUS_CHECKING", "Checking for updates of {PRODUCT}..."),
    ("IDS_STATUS_UPDATE_FOUND", "Version {VERSION} of {PRODUCT} is available.\\nDo you want "
     "to download it now?"),
    ("IDS_STATUS_UP_TO_DATE", "{PRODUCT} is up to date."),
    ("IDS_STATUS_INSTALLING", "Installing {PRODUCT}. This may take a few minutes..."),
    ("IDS_STATUS_REMOVING", "Removing {PRODUCTS}..."),
    ("IDS_STATUS_CONNECTING", "Connecting to {HOST}..."),
    ("IDS_STATUS_DOWNLOADING", "Downloading {FILE} ({PERCENT}%)..."),
]

QUESTIONS = [
    ("IDS_ASK_SAVE_CHANGES", "Do you want to save the changes you made to {FILE}?"),
    ("IDS_ASK_REMOVE_OLD", "The following versions are installed on this computer:\\n"
     "{PRODUCTS}\\n\\nDo you want to remove them before you continue?"),
    ("IDS_ASK_REPLACE_FILE", "{FILE} already exists.\\nDo you want to replace it?"),
    ("IDS_ASK_DELETE_SLIDES", "Do you want to delete the {COUNT} selected slides?"),
    ("IDS_ASK_RESTART", "You must restart your computer to finish the installation of "
     "{PRODUCT}.\\nRestart now?"),
    ("IDS_ASK_CLOSE_RUNNING", "{PRODUCT} is running. Close it and click Retry, or click "
     "Cancel to stop the installation."),
    ("IDS_ASK_EMBED_FONTS", "Some fonts cannot be saved with the presentation.\\nDo you "
     "want to save it without them?"),
    ("IDS_ASK_DISCARD_RECORDING", "Discard the narration recorded for slide {NUMBER}?"),
]

ERRORS = [
    ("IDS_ERROR_DISK_FULL", "There is not enough free space on drive {DRIVE}.\\nFree some "
     "space and try again."),
    ("IDS_ERROR_ACCESS_DENIED", "Access to {FILE} was denied. You may not have permission to "
     "change this file."),
    ("IDS_ERROR_FILE_NOT_FOUND", "{FILE} could not be found. Check the spelling of the file "
     "name and verify that the location is correct."),
    ("IDS_ERROR_FILE_IN_USE", "{FILE} is in use by another program. Close it and try again."),
    ("IDS_ERROR_UNSUPPORTED_VERSION", "This file was created by a newer version of {PRODUCT} "
     "and cannot be opened."),
    ("IDS_ERROR_OUT_OF_MEMORY", "There is not enough memory to complete this operation. "
     "Close other programs and try again."),
    ("IDS_ERROR_NO_PRINTER", "No printer is installed. To install a printer, open the "
     "Devices and Printers folder."),
    ("IDS_ERROR_INVALID_URL", "The address {URL} is not valid."),
    ("IDS_ERROR_SERVER_UNREACHABLE", "The server {HOST} could not be reached. Check your "
     "network connection."),
    ("IDS_ERROR_LICENSE", "Your license of {PRODUCT} could not be verified.\\nPlease enter "
     "your product key again."),
    ("IDS_ERROR_TRIAL_EXPIRED", "Your trial period of {PRODUCT} has ended.\\nBuy a license "
     "to continue using all features."),
    ("IDS_ERROR_ADDIN_DISABLED", "The add-in of {PRODUCT} was disabled because it caused a "
     "problem.\\nEnable it again in Options > Add-ins."),
    ("IDS_ERROR_CORRUPT_MEDIA", "The media file on slide {NUMBER} is damaged and cannot be "
     "played."),
    ("IDS_ERROR_FONT_MISSING", "The font \"{FONT}\" is not installed. A similar font is used "
     "instead."),
    ("IDS_ERROR_PATH_TOO_LONG", "The path of {FILE} is too long. Choose a shorter name or "
     "another folder."),
    ("IDS_ERROR_INSTALL_FAILED", "The installation of {PRODUCT} failed (error {CODE})."),
]

PHRASES = [
    "Slide Sorter", "Normal View", "Outline View", "Reading View", "Notes Page",
    "Presenter View", "Handout Master", "Notes Master", "Slide Master", "Color Scheme",
    "Font Scheme", "Effects", "Background Styles", "Slide Size", "Page Setup", "Orientation",
    "Portrait", "Landscape", "Widescreen (16:9)", "Standard (4:3)", "Custom Slide Show...",
    "Rehearse Timings", "Record Narration", "Loop continuously until 'Esc'",
    "Show without animation", "Use Presenter View", "Hide Slide", "Laser Pointer", "Pen",
    "Highlighter", "Eraser", "Ink Color", "Arrow Options", "Pointer Options", "Black Screen",
    "White Screen", "End Show", "Spell Check", "Thesaurus", "Word Count", "Language...",
    "AutoCorrect Options...", "Compare", "Accept Change", "Reject Change", "New Comment",
    "Previous Comment", "Next Comment", "Protect Presentation", "Encrypt with Password",
    "Mark as Final", "Inspect Document", "Check Accessibility", "Check Compatibility",
    "Recent Presentations", "Pinned", "Templates", "Blank Presentation", "Themes",
    "Sample Templates", "My Templates", "Account", "Feedback", "About {PRODUCT}",
    "Version {VERSION}", "Copyright (C) {YEAR}", "License Agreement", "Privacy Statement",
    "Third-Party Notices", "General", "Proofing", "Save Options", "Advanced",
    "Customize Ribbon", "Quick Access Toolbar", "Add-ins", "Trust Center", "Display",
    "Editing Options", "Cut, copy, and paste", "Image Size and Quality", "Chart Options",
    "Print Options", "Slide Show Options", "Default file location:", "AutoRecover file location:",
    "Save AutoRecover information every {MINUTES} minutes", "Keep the last autosaved version",
    "Show this number of recent presentations:", "Show shortcut keys in ScreenTips",
    "Show vertical ruler", "Enable live preview", "Font:", "Size:", "Color:", "Style:",
    "Effects:", "Preview:", "Width:", "Height:", "Scale:", "Lock aspect ratio", "Rotation:",
    "Transparency:", "Line spacing:", "Before:", "After:", "Indentation:", "Alignment:",
    "Bullets and Numbering...", "Columns...", "Text Direction", "Align Text",
    "Convert to Diagram", "Shape Fill", "Shape Outline", "Shape Effects", "Quick Styles",
    "Picture Border", "Picture Effects", "Picture Layout", "Compress Pictures...",
    "Change Picture...", "Reset Picture", "Remove Background", "Artistic Effects",
    "Corrections", "Color Saturation", "Color Tone", "Recolor", "Brightness: {PERCENT}%",
    "Contrast: {PERCENT}%", "Sharpen: {PERCENT}%", "Soften: {PERCENT}%",
    "Fade In", "Fade Out", "Fly In", "Wipe", "Split", "Zoom", "Bounce", "Spin", "Pulse",
    "Grow/Shrink", "Appear", "Disappear", "Float In", "Float Out", "Morph", "Push", "Reveal",
    "Cover", "Uncover", "Shape", "Random Bars", "Dissolve", "Flash", "Checkerboard",
    "On Click", "With Previous", "After Previous", "Duration:", "Delay:", "Repeat:",
    "Trigger", "Animation Pane", "Selection Pane", "Effect Options...", "Timing...",
    "Play All", "Play From", "Sound:", "Advance Slide", "After:", "Apply To All Slides",
]


# The texts bootfetch can show, per language code (the program of a language
# is bootfetch-CODE.exe and carries language-CODE.xml). To add a language, add
# a row here with every text of REQUIRED, then run this script and rebuild.
# Placeholders and escapes ("{PRODUCT}", "\\n") must stay as in English; the
# generator refuses a row that drops or adds one.
TRANSLATIONS = {
    "ru": {
        "Download {PRODUCT}": "Загрузка {PRODUCT}",
        "Cancel": "Отмена",
        "IDS_DOWNLOADER_ERROR":
            "Не удалось загрузить установочный пакет. Проверьте подключение к Интернету "
            "или настройки брандмауэра и повторите попытку.",
        "IDS_LAUNCH_ERROR":
            "Установочный пакет загружен, но его не удалось открыть.\\n\\nЧтобы установить "
            "продукт, откройте этот файл:\\n{PATH}",
        "IDS_STATUS_CONNECTING_TO": "Подключение к {HOST}\u2026",
        "IDS_STATUS_TRANSFER": "{DONE} из {TOTAL} ({SPEED}/с), осталось около {TIME}",
        "IDS_STATUS_TRANSFER_SPEED": "{DONE} из {TOTAL} ({SPEED}/с)",
        "IDS_STATUS_TRANSFER_START": "{DONE} из {TOTAL}",
        "IDS_STATUS_RECONNECT": "Соединение потеряно. Повторная попытка через {SECONDS} с\u2026",
        "IDS_TIME_SECONDS": "{COUNT} с",
        "IDS_TIME_MINUTES": "{COUNT} мин",
        "IDS_TIME_HOURS": "{COUNT} ч",
        "IDS_PROGRESS_NAME": "Ход загрузки",
    },
    "fr": {
        "Download {PRODUCT}": "Télécharger {PRODUCT}",
        "Cancel": "Annuler",
        "IDS_DOWNLOADER_ERROR":
            "Impossible de télécharger le package d'installation. Vérifiez votre connexion "
            "Internet ou les paramètres de votre pare-feu, puis réessayez.",
        "IDS_LAUNCH_ERROR":
            "Le package d'installation a été téléchargé, mais n'a pas pu être ouvert.\\n\\n"
            "Pour installer le produit, ouvrez ce fichier :\\n{PATH}",
        "IDS_STATUS_CONNECTING_TO": "Connexion à {HOST}\u2026",
        "IDS_STATUS_TRANSFER": "{DONE} sur {TOTAL} ({SPEED}/s), temps restant : environ {TIME}",
        "IDS_STATUS_TRANSFER_SPEED": "{DONE} sur {TOTAL} ({SPEED}/s)",
        "IDS_STATUS_TRANSFER_START": "{DONE} sur {TOTAL}",
        "IDS_STATUS_RECONNECT": "Connexion perdue. Nouvel essai dans {SECONDS} s\u2026",
        "IDS_TIME_SECONDS": "{COUNT} s",
        "IDS_TIME_MINUTES": "{COUNT} min",
        "IDS_TIME_HOURS": "{COUNT} h",
        "IDS_PROGRESS_NAME": "Progression du téléchargement",
    },
    "es": {
        "Download {PRODUCT}": "Descargar {PRODUCT}",
        "Cancel": "Cancelar",
        "IDS_DOWNLOADER_ERROR":
            "No se pudo descargar el paquete de instalación. Compruebe la conexión a Internet "
            "o la configuración del firewall e inténtelo de nuevo.",
        "IDS_LAUNCH_ERROR":
            "El paquete de instalación se descargó, pero no se pudo abrir.\\n\\nPara instalar "
            "el producto, abra este archivo:\\n{PATH}",
        "IDS_STATUS_CONNECTING_TO": "Conectando con {HOST}\u2026",
        "IDS_STATUS_TRANSFER": "{DONE} de {TOTAL} ({SPEED}/s), quedan unos {TIME}",
        "IDS_STATUS_TRANSFER_SPEED": "{DONE} de {TOTAL} ({SPEED}/s)",
        "IDS_STATUS_TRANSFER_START": "{DONE} de {TOTAL}",
        "IDS_STATUS_RECONNECT": "Se perdió la conexión. Nuevo intento en {SECONDS} s\u2026",
        "IDS_TIME_SECONDS": "{COUNT} s",
        "IDS_TIME_MINUTES": "{COUNT} min",
        "IDS_TIME_HOURS": "{COUNT} h",
        "IDS_PROGRESS_NAME": "Progreso de la descarga",
    },
    "de": {
        "Download {PRODUCT}": "{PRODUCT} herunterladen",
        "Cancel": "Abbrechen",
        "IDS_DOWNLOADER_ERROR":
            "Das Installationspaket konnte nicht heruntergeladen werden. Überprüfen Sie Ihre "
            "Internetverbindung oder die Firewall-Einstellungen und versuchen Sie es erneut.",
        "IDS_LAUNCH_ERROR":
            "Das Installationspaket wurde heruntergeladen, konnte aber nicht geöffnet werden."
            "\\n\\nÖffnen Sie zur Installation diese Datei:\\n{PATH}",
        "IDS_STATUS_CONNECTING_TO": "Verbindung mit {HOST} wird hergestellt\u2026",
        "IDS_STATUS_TRANSFER": "{DONE} von {TOTAL} ({SPEED}/s), noch etwa {TIME}",
        "IDS_STATUS_TRANSFER_SPEED": "{DONE} von {TOTAL} ({SPEED}/s)",
        "IDS_STATUS_TRANSFER_START": "{DONE} von {TOTAL}",
        "IDS_STATUS_RECONNECT": "Verbindung unterbrochen. Neuer Versuch in {SECONDS} s\u2026",
        "IDS_TIME_SECONDS": "{COUNT} s",
        "IDS_TIME_MINUTES": "{COUNT} min",
        "IDS_TIME_HOURS": "{COUNT} Std.",
        "IDS_PROGRESS_NAME": "Downloadfortschritt",
    },
}


def message_text_of_verb(verb, obj):
    return "%s %s" % (verb, obj)


def plural(noun):
    if noun.endswith("s"):
        return noun
    if noun.endswith("x"):
        return noun + "es"
    return noun + "s"


def tip_text(verb, obj):
    lower = obj.lower()
    return ("%s the selected %s.\\nTip: press F1 to learn more about working with %s." %
            (verb, lower, plural(lower)))


def symbol(text):
    out = []
    for ch in text.upper():
        out.append(ch if ch.isalnum() else "_")
    return "_".join(part for part in "".join(out).split("_") if part)


def candidates():
    """Yields (id, text) pairs, most important first."""
    yield from REQUIRED
    for command in MENU_COMMANDS:
        yield command, command
    for menu in MENUS:
        yield menu, menu
    for button in BUTTONS:
        yield button, button
    yield from STATUS
    yield from QUESTIONS
    yield from ERRORS
    for phrase in PHRASES:
        yield phrase, phrase
    for obj in OBJECTS:
        for key, participle, reason in PROBLEMS:
            yield ("IDS_ERROR_%s_%s" % (key, symbol(obj)),
                   "The %s could not be %s because %s." % (obj.lower(), participle, reason))
    for verb in VERBS:
        for obj in OBJECTS:
            yield message_text_of_verb(verb, obj), message_text_of_verb(verb, obj)
    for verb in VERBS:
        for obj in OBJECTS:
            yield "IDS_TIP_%s_%s" % (symbol(verb), symbol(obj)), tip_text(verb, obj)
    for obj in OBJECTS:
        yield "Format %s..." % obj, "Format %s..." % obj


def xml_escape(text, attribute):
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return text.replace('"', "&quot;") if attribute else text


def utf16_order(text):
    return text.encode("utf-16-be")


def english_messages():
    messages = {}
    for identifier, text in candidates():
        if identifier not in messages:
            messages[identifier] = text
        if len(messages) == MESSAGE_COUNT:
            break
    if len(messages) != MESSAGE_COUNT:
        sys.exit("only %d distinct messages" % len(messages))
    return messages


# Placeholders in braces and backslash escapes: what a caller or the
# translator acts on, so a translation must carry exactly the same ones.
MARKERS = re.compile(r"\{[A-Z]+\}|\\.")


def localized_messages(language):
    messages = english_messages()
    for identifier, text in TRANSLATIONS[language].items():
        if identifier not in messages:
            sys.exit("%s: no English message %r" % (language, identifier))
        if sorted(MARKERS.findall(text)) != sorted(MARKERS.findall(messages[identifier])):
            sys.exit("%s: %r changes the placeholders or escapes" % (language, identifier))
        messages[identifier] = text
    return messages


def build(language=None):
    messages = localized_messages(language) if language else english_messages()
    lines = ['<?xml version="1.0" encoding="UTF-8" standalone="no"?>', "<language>",
             "  <messages>"]
    for identifier in sorted(messages, key=utf16_order):
        assert messages[identifier], identifier
        lines.append('    <message id="%s">%s</message>' %
                     (xml_escape(identifier, True), xml_escape(messages[identifier], False)))
    lines += ["  </messages>", "</language>", ""]
    return b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8")


def catalogues():
    """Yields (language or None for English, file name)."""
    yield None, "language.xml"
    for language in sorted(TRANSLATIONS):
        yield language, "language-%s.xml" % language


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = os.path.join(root, "bootfetch", "resources")
    command = sys.argv[1:]
    if command == ["--languages"]:
        print(";".join(sorted(TRANSLATIONS)))
    elif command == ["--translated"]:
        for language in sorted(TRANSLATIONS):
            print("%s: %s" % (language, ", ".join(sorted(TRANSLATIONS[language]))))
        print("every other message stays English")
    elif command == ["--check"]:
        for language, name in catalogues():
            with open(os.path.join(folder, name), "rb") as committed:
                if committed.read() != build(language):
                    sys.exit("%s differs from the generator's output" % name)
    elif not command:
        for language, name in catalogues():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(build(language))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
