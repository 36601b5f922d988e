// Filled as the main window lands.
