// Nothing here yet: the tray layer grows in this folder.
