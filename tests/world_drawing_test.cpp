// Drawing of the world, checked by reading pixels back.
