// filled in by the image viewer work
