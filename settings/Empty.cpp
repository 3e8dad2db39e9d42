// Nothing here yet: the settings layer grows in this folder.
