#!/usr/bin/env python3
"""Makes a localized variant of the sample package VantrelDulon6.msi.

A variant is the English package with the language's ProductLanguage (which
picks the web host of the thank-you page) and the texts of the older-version
question. wixl stores strings in the Windows-1252 code page only, so the
variant is made afterwards with msibuild: the database code page is switched
to the language's, then the texts are written. To add a language, add a row to
TEXTS.

Usage: localize_package.py LANGUAGE ENGLISH.msi OUTPUT.msi
       localize_package.py --languages
"""
import shutil
import subprocess
import sys
import tempfile
import os

# "[ProductName]" and "{PRODUCTS}" are filled in by askRemoveOld.
TEXTS = {
    "ru": {
        "codepage": 1251,
        "ProductLanguage": "1049",
        "VANTREL_OLD_CAPTION": "Установка [ProductName]",
        "VANTREL_OLD_MESSAGE":
            "Программа установки обнаружила на этом компьютере более ранние версии "
            "продуктов Vantrel:\n\n{PRODUCTS}\n\nОни будут удалены перед установкой "
            "Vantrel Dulon 6. Продолжить?",
    },
    "fr": {
        "codepage": 1252,
        "ProductLanguage": "1036",
        "VANTREL_OLD_CAPTION": "Installation de [ProductName]",
        "VANTREL_OLD_MESSAGE":
            "Le programme d’installation a trouvé ces anciens produits Vantrel sur cet "
            "ordinateur\u00a0:\n\n{PRODUCTS}\n\nIls seront supprimés avant l’installation de "
            "Vantrel Dulon 6. Voulez-vous continuer\u00a0?",
    },
    "es": {
        "codepage": 1252,
        "ProductLanguage": "1034",
        "VANTREL_OLD_CAPTION": "Instalación de [ProductName]",
        "VANTREL_OLD_MESSAGE":
            "El programa de instalación encontró estos productos anteriores de Vantrel en "
            "este equipo:\n\n{PRODUCTS}\n\nSe desinstalarán antes de instalar Vantrel Dulon 6. "
            "¿Desea continuar?",
    },
    "de": {
        "codepage": 1252,
        "ProductLanguage": "1031",
        "VANTREL_OLD_CAPTION": "Installation von [ProductName]",
        "VANTREL_OLD_MESSAGE":
            "Das Setup hat diese älteren Vantrel-Produkte auf dem Computer gefunden:\n\n"
            "{PRODUCTS}\n\nSie werden vor der Installation von Vantrel Dulon 6 entfernt. "
            "Möchten Sie fortfahren?",
    },
}


def sql_text(text):
    # msibuild's SQL has no escape for a quote inside a text.
    if "'" in text:
        sys.exit("%r: write the apostrophe as \u2019" % text)
    return "'" + text + "'"


def properties(package):
    """The Property table as a dict (values may span lines)."""
    text = subprocess.run(["msiinfo", "export", package, "Property"], check=True,
                          capture_output=True, text=True).stdout
    rows = {}
    last = None
    for line in text.replace("\r\n", "\n").split("\n")[3:]:
        if "\t" in line:
            last, value = line.split("\t", 1)
            rows[last] = value
        elif last:
            rows[last] += "\n" + line
    return rows


def localize(language, english, output):
    texts = TEXTS[language]
    with tempfile.TemporaryDirectory() as scratch:
        staged = os.path.join(scratch, "package.msi")
        shutil.copyfile(english, staged)
        codepage = os.path.join(scratch, "_ForceCodepage.idt")
        with open(codepage, "w", newline="") as idt:
            idt.write("\r\n\r\n%d\t_ForceCodepage\r\n" % texts["codepage"])
        subprocess.run(["msibuild", staged, "-i", codepage], check=True)
        for name, value in texts.items():
            if name == "codepage":
                continue
            subprocess.run(["msibuild", staged, "-q",
                            "UPDATE `Property` SET `Value` = %s WHERE `Property` = %s" %
                            (sql_text(value), sql_text(name))], check=True)
        # A text the code page cannot hold would arrive empty or mangled.
        stored = properties(staged)
        for name, value in texts.items():
            if name != "codepage" and stored.get(name) != value:
                sys.exit("%s: %s was stored as %r" % (language, name, stored.get(name)))
        shutil.move(staged, output)


def main(arguments):
    if arguments == ["--languages"]:
        print(";".join(TEXTS))
    elif len(arguments) == 3 and arguments[0] in TEXTS:
        localize(*arguments)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
