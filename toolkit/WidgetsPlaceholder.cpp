// Controls arrive here.
