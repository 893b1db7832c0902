"""Drawing of the program's icons and bitmaps; run scripts/draw_resources.py."""
