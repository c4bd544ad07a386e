// placeholder, replaced by its implementation
