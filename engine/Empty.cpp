// Nothing here yet: the engine layer grows in this folder.
