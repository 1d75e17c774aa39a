#!/usr/bin/env python3
"""Checks the translation sources (resources/Resource/main_widget_*.ts):
every language but English holds the same messages (context and source
text), and each of them has a finished, non-empty translation. English needs
none: its texts are the source texts. Prints each gap and exits 1."""
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

folder = Path(__file__).resolve().parent.parent / "resources/Resource"


def messages(path):
    """(context, source) -> translation, None where it is missing or unfinished."""
    found = {}
    for context in ElementTree.parse(path).getroot().iter("context"):
        for message in context.iter("message"):
            translation = message.find("translation")
            finished = translation is not None and translation.get("type") is None
            text = translation.text if finished else None
            found[(context.findtext("name"), message.findtext("source"))] = text or None
    return found


catalogues = {path.name: messages(path) for path in sorted(folder.glob("main_widget_*.ts"))
              if path.name != "main_widget_en.ts"}
every = set().union(*(found.keys() for found in catalogues.values()))
failures = [f"{name}: {context} \"{source}\" is {'untranslated' if key in found else 'missing'}"
            for name, found in catalogues.items()
            for key in sorted(every) if found.get(key) is None
            for context, source in [key]]
print("\n".join(failures) or f"{len(catalogues)} catalogues, {len(every)} messages, all translated")
sys.exit(1 if failures or len(catalogues) < 3 else 0)
