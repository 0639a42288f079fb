# The language file vlt010005.lan, built from the readable table of texts.
